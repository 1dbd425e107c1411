#pragma once

#include <optional>
#include <string>

#include "process_services.h"
#include "window_titles.h"

namespace tarnwick {

// Window titles that the user's other processes can see: a shown title is a Unix-domain socket
// bound in a private folder (${XDG_RUNTIME_DIR}/tarnwick, else the private temporary folder's
// "titles"), named by a hash of the title so that any length of title fits in a socket address.
// A title exists while a process holds its socket; the socket file of a process that ended
// without withdrawing its titles is stale (nobody answers) and is replaced by the next claim.
// The folder goes with the last socket in it.
//
// Claims of one title within this process share one socket, counted: the title is withdrawn
// when the last of them goes. A claim is nothing (null) when another process shows the title
// already or the folder cannot be had. A forked copy of the process starts with no titles.
class PosixWindowTitles final : public WindowTitles {
 public:
  explicit PosixWindowTitles(Environment& environment);

  bool Exists(const std::string& title) override;
  std::unique_ptr<Claim> Show(const std::string& title) override;
  void WithdrawAll() override;

 private:
  // The folder of the sockets; made when `make` is set.
  std::optional<std::string> Folder(bool make);

  Environment& environment_;
};

}  // namespace tarnwick

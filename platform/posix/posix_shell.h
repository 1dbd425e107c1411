#pragma once

#include <string>
#include <vector>

#include "process_services.h"
#include "shell.h"

namespace tarnwick {

// Starts an executable file itself, anything else through the desktop's opener (xdg-open).
// The started program runs detached: in a session of its own, with stdin, stdout and stderr on
// /dev/null, and not a child of this process, so nothing waits for it or reaps it here.
class PosixShell final : public Shell {
 public:
  // Results of Open, in the numbering of the system this program came from.
  static constexpr int kFileNotFound = 2;
  static constexpr int kCannotStart = 31;
  static constexpr int kStarted = 42;
  // The system's own document viewer, started by its full path with a document that the
  // opener could not show: the opener is looked up in a search path that may lack it.
  static constexpr char kSystemViewer[] = "/usr/bin/xdg-open";

  // `opener` is a program name looked up in PATH, or a path; `viewer` a program's path. The
  // search path is changed through `environment`.
  explicit PosixShell(Environment& environment, std::string opener = "xdg-open",
                      std::string viewer = kSystemViewer);

  // kFileNotFound when `file` does not exist; kCannotStart when the program or the opener
  // could not be executed; kStarted once it runs. The opener gets the file alone: arguments
  // are for programs.
  int Open(const std::string& file, const std::vector<std::string>& arguments) override;
  bool ShowDocument(const std::string& document, const std::string& programFolder) override;

 private:
  Environment& environment_;
  std::string opener_;
  std::string viewer_;
};

}  // namespace tarnwick

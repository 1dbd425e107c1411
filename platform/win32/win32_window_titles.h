#pragma once

#include "window_titles.h"

namespace tarnwick {

// Titles of top-level windows, as FindWindowW sees them across processes. A claim is a hidden
// top-level window carrying the title (message-only windows are invisible to FindWindowW).
//
// All claim windows live on one thread of their own that runs a message loop for as long as the
// process: a window dies with the thread that made it, and DestroyWindow works only on that
// thread, so keeping them there lets a claim be made on a short-lived thread and be withdrawn,
// one by one or all at once, from any thread. The pumping thread also answers the messages
// that other programs broadcast to every top-level window.
//
// Titles are not exclusive: another process showing the same title does not stop a claim.
class Win32WindowTitles final : public WindowTitles {
 public:
  bool Exists(const std::string& title) override;
  std::unique_ptr<Claim> Show(const std::string& title) override;
  void WithdrawAll() override;
};

}  // namespace tarnwick

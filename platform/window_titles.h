#pragma once

#include <memory>
#include <string>

namespace tarnwick {

// Top-level window titles as other processes of the same user see them: what lets a second
// instance find the first one, and the help window be found while it is open.
class WindowTitles {
 public:
  // A title shown by a window of this process; withdrawn when the claim is destroyed.
  class Claim {
   public:
    virtual ~Claim() = default;
  };

  virtual ~WindowTitles() = default;
  virtual bool Exists(const std::string& title) = 0;
  virtual std::unique_ptr<Claim> Show(const std::string& title) = 0;
  // Withdraws every title of this process at once, for a process that ends without destroying
  // its claims.
  virtual void WithdrawAll() = 0;
};

}  // namespace tarnwick

#pragma once

#include "process_services.h"
#include "shell.h"

namespace tarnwick {

// The shell's open verb: a document opens in its associated program, a program starts with
// the arguments. No error dialog of the shell's own appears; the caller decides what to show.
class Win32Shell final : public Shell {
 public:
  // The search path is changed through `environment`.
  explicit Win32Shell(Environment& environment) : environment_(environment) {}

  // The shell's result code: above 32 once started, else one of the SE_ERR_ codes.
  int Open(const std::string& file, const std::vector<std::string>& arguments) override;
  // The open verb is the system's viewer: there is no other to fall back on.
  bool ShowDocument(const std::string& document, const std::string& programFolder) override;

 private:
  Environment& environment_;
};

}  // namespace tarnwick

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

struct Options {
  std::vector<std::string> files;
  std::optional<std::string> destination;  // -o DIR
  bool overwrite = false;
  int jobs = 1;
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name. On a usage error returns nothing and sets `error`.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& arguments,
                                        std::string& error);

extern const char kUsage[];

}  // namespace tarnwick::cli

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
  bool check = false;                 // --check: analyse, write no copy
  std::optional<std::string> report;  // --report=FILE, "-" for standard output
  std::optional<std::string> password;      // --password=PASSWORD
  std::optional<std::string> passwordFile;  // --password-file=FILE, "-" for standard input
  bool verbose = false;  // list what was mended in each file
  bool mend = true;      // --no-mend switches mending off
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name. On a usage error returns nothing and sets `error`.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& arguments,
                                        std::string& error);

// The help text, naming this system's private temporary folder.
std::string Usage();

// The password in the first line of `file` ("-": standard input), without its line end. On
// failure returns nothing and sets `error`, which never holds the password.
std::optional<std::string> ReadPasswordFile(const std::string& file, std::string& error);

}  // namespace tarnwick::cli

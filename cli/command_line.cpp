#include "command_line.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "native_platform.h"
#include "utf8_streams.h"

namespace tarnwick::cli {

namespace {

const char kUsageHead[] =
    "Usage: tarnwick-repair [options] FILE...\n"
    "Repairs damaged PDF files. Each repaired copy is written to a new work folder under\n";

const char kUsageRest[] =
    ", or into DIR with -o, under the source's file name;\n"
    "its path is printed on standard output.\n"
    "\n"
    "Options:\n"
    "  -o, --output DIR   write the repaired copies into DIR (created when missing)\n"
    "      --overwrite    replace existing files without asking (without a terminal,\n"
    "                     existing files are otherwise kept)\n"
    "  -j, --jobs N       repair or check up to N files at once (default 1)\n"
    "      --check        write no copy: print for each file whether it is intact, or\n"
    "                     what is wrong with it (\"FILE: intact\", \"FILE: no trailer;\n"
    "                     page tree missing\")\n"
    "      --report=FILE  write one line of JSON per file to FILE (- for standard output,\n"
    "                     which then carries only the report), in the order given: its\n"
    "                     status and sizes, the seconds it took, what was wrong with the\n"
    "                     file, what was found, mended and lost\n"
    "      --password=PASSWORD\n"
    "                     for encrypted files: try PASSWORD (the user or the owner\n"
    "                     password) before the empty one, to read their packed objects\n"
    "      --password-file=FILE\n"
    "                     the same with the first line of FILE (- for standard input),\n"
    "                     which keeps the password off the command line\n"
    "  -v, --verbose      list what was mended in each file: streams given their true\n"
    "                     length, line ends undone, page content cut to what decodes,\n"
    "                     damaged objects cut to what parses, references to lost\n"
    "                     objects resolved, lost fonts and images replaced\n"
    "      --no-mend      copy objects as the repair's rules find them, without mending\n"
    "                     what strict readers would reject\n"
    "  -h, --help         show this help and exit\n"
    "      --version      show the version and exit\n"
    "\n"
    "An encrypted file keeps its protection in the repaired copy. When no password opens\n"
    "it, its packed objects are copied still packed and a warning names the file; so\n"
    "it does when the file lost with its trailer the identifier its key derives from.\n"
    "Ctrl-C stops the running repairs and removes their incomplete copies.\n"
    "A copy from which no page could be recovered is still written, with a warning.\n"
    "--check reads a file's structure as a repair does (header, cross-reference data,\n"
    "trailer, page tree, end of file) and is about as fast as reading the file; damage\n"
    "inside a stream's data shows only in a repair's report, as a mend.\n"
    "Exit status: 0 when every file was repaired with at least one page, 1 when some were\n"
    "not, 2 on a usage error, 130 after Ctrl-C. With --check: 0 when every file is\n"
    "intact, 1 when some need repair or could not be read.\n";

bool ParseJobs(const std::string& text, int& jobs) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, jobs);
  return error == std::errc{} && stop == end && jobs >= 1 && jobs <= 256;
}

}  // namespace

std::string Usage() { return kUsageHead + std::string(kPrivateFolderPlace) + kUsageRest; }

std::optional<Options> ParseCommandLine(const std::vector<std::string>& arguments,
                                        std::string& error) {
  Options options;
  bool onlyFiles = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&](const std::string& name) -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) {
        error = "option " + name + " needs a value";
        return std::nullopt;
      }
      return arguments[++i];
    };
    if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
      options.files.push_back(argument);
    } else if (argument == "--") {
      onlyFiles = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "-v" || argument == "--verbose") {
      options.verbose = true;
    } else if (argument == "--no-mend") {
      options.mend = false;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--check") {
      options.check = true;
    } else if (argument == "--report") {
      const auto file = value(argument);
      if (!file) return std::nullopt;
      options.report = *file;
    } else if (argument.rfind("--report=", 0) == 0) {
      options.report = argument.substr(9);
    } else if (argument == "--overwrite") {
      options.overwrite = true;
    } else if (argument == "-o" || argument == "--output") {
      const auto folder = value(argument);
      if (!folder) return std::nullopt;
      options.destination = *folder;
    } else if (argument.rfind("--output=", 0) == 0) {
      options.destination = argument.substr(9);
    } else if (argument == "--password" || argument == "--password-file") {
      const auto given = value(argument);
      if (!given) return std::nullopt;
      (argument == "--password" ? options.password : options.passwordFile) = *given;
    } else if (argument.rfind("--password=", 0) == 0) {
      options.password = argument.substr(11);
    } else if (argument.rfind("--password-file=", 0) == 0) {
      options.passwordFile = argument.substr(16);
    } else if (argument == "-j" || argument == "--jobs" || argument.rfind("-j", 0) == 0 ||
               argument.rfind("--jobs=", 0) == 0) {
      std::string count;
      if (argument == "-j" || argument == "--jobs") {
        const auto given = value(argument);
        if (!given) return std::nullopt;
        count = *given;
      } else {
        count = argument.substr(argument[1] == 'j' ? 2 : 7);
      }
      if (!ParseJobs(count, options.jobs)) {
        error = "invalid number of jobs: " + count;
        return std::nullopt;
      }
    } else {
      error = "unknown option: " + argument;
      return std::nullopt;
    }
  }
  if (options.destination && options.destination->empty()) {
    error = "the output folder is empty";
    return std::nullopt;
  }
  if (options.report && options.report->empty()) {
    error = "the report file name is empty";
    return std::nullopt;
  }
  if (options.check && options.destination) {
    error = "--check writes no copy and takes no output folder";
    return std::nullopt;
  }
  if (options.password && options.passwordFile) {
    error = "give either --password or --password-file";
    return std::nullopt;
  }
  if (options.files.empty() && !options.help && !options.version) {
    error = "no files given";
    return std::nullopt;
  }
  return options;
}

std::optional<std::string> ReadPasswordFile(const std::string& file, std::string& error) {
  const bool standardInput = file == "-";
  std::FILE* stream = standardInput ? stdin : OpenStreamForReading(file);
  if (!stream) {
    error = "cannot read the password file " + file + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::string password;
  for (int c; (c = std::fgetc(stream)) != EOF && c != '\n';) password += static_cast<char>(c);
  const bool failed = std::ferror(stream) != 0;
  if (!standardInput) std::fclose(stream);
  if (failed) {
    error = "cannot read the password file " + file;
    return std::nullopt;
  }
  if (!password.empty() && password.back() == '\r') password.pop_back();
  return password;
}

}  // namespace tarnwick::cli

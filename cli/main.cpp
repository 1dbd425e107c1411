// tarnwick-repair: repairs damaged PDF files from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "batch_repair.h"
#include "command_line.h"
#include "console.h"
#include "destination.h"
#include "interruption.h"
#include "native_platform.h"
#include "program_arguments.h"
#include "terminal.h"

int main(int argc, char** argv) {
  using namespace tarnwick;
  using namespace tarnwick::cli;
  PrepareConsole();
  std::string error;
  auto usageError = [](const std::string& text) {
    std::fprintf(stderr,
                 "tarnwick-repair: %s\nTry 'tarnwick-repair --help' for more information.\n",
                 text.c_str());
    return 2;
  };
  auto options = ParseCommandLine(ProgramArguments(argc, argv), error);
  if (!options) return usageError(error);
  // The report is created empty before the first job starts: naming a source would destroy it.
  for (const std::string& file : options->files) {
    if (options->report && tarnwick::IsSameFile(*options->report, file)) {
      return usageError("the report would replace " + file + ", one of the files to repair");
    }
  }
  if (options->help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  if (options->version) {
    std::printf("tarnwick-repair %s\n", TARNWICK_VERSION);
    return 0;
  }
  if (options->passwordFile) {
    options->password = ReadPasswordFile(*options->passwordFile, error);
    if (!options->password) {
      std::fprintf(stderr, "tarnwick-repair: %s\n", error.c_str());
      return 1;
    }
  }
  // A report that cannot be written is found out before any file is touched. It ends the run as
  // an output folder that cannot be had does, with 1: the command line itself was right.
  ReportFile reportFile;
  const bool reportToFile = options->report && *options->report != "-";
  if (reportToFile && !reportFile.Open(*options->report, error)) {
    std::fprintf(stderr, "tarnwick-repair: %s\n", error.c_str());
    return 1;
  }
  if (options->destination && !PrepareDestination(*options->destination, error)) {
    std::fprintf(stderr, "tarnwick-repair: %s\n", error.c_str());
    return 1;
  }
  Interruption& interruption = Interruption::Install();
  const bool errorsOnTerminal = StandardErrorIsTerminal();
  Terminal terminal(errorsOnTerminal, errorsOnTerminal && StandardInputIsTerminal(),
                    options->overwrite);
  return RunBatch(*options, terminal, interruption, reportToFile ? &reportFile : nullptr);
}

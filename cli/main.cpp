// tarnwick-repair: repairs damaged PDF files from the command line.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "batch_repair.h"
#include "command_line.h"
#include "destination.h"
#include "interruption.h"
#include "terminal.h"

int main(int argc, char** argv) {
  using namespace tarnwick::cli;
  std::string error;
  auto options = ParseCommandLine({argv + 1, argv + argc}, error);
  if (!options) {
    std::fprintf(stderr, "tarnwick-repair: %s\nTry 'tarnwick-repair --help' for more information.\n",
                 error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(kUsage, stdout);
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
  if (options->destination && !PrepareDestination(*options->destination, error)) {
    std::fprintf(stderr, "tarnwick-repair: %s\n", error.c_str());
    return 1;
  }
  Interruption& interruption = Interruption::Install();
  const bool errorsOnTerminal = isatty(STDERR_FILENO);
  Terminal terminal(errorsOnTerminal, errorsOnTerminal && isatty(STDIN_FILENO), options->overwrite);
  return RunBatch(*options, terminal, interruption);
}

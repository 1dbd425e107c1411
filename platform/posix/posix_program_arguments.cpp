#include "program_arguments.h"

namespace tarnwick {

// POSIX passes the bytes the user typed; they are taken as they are.
std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

}  // namespace tarnwick

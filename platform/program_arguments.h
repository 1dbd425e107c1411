#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// The program's arguments after its own name, as UTF-8 whatever the system hands over.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace tarnwick

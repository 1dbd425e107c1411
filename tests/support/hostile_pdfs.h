#pragma once

#include <string>
#include <vector>

namespace tarnwick::test {

// Small files built to make a careless reader allocate far more than their size: values that
// claim huge sizes, data that decodes to much more than it takes, and runs of bytes that each
// look like the start of something to record.
struct HostileFile {
  std::string name;  // a file name, without folder
  // Makes the file's bytes: a test holds no more than one such file at a time.
  std::string (*make)();
};

// One maker of each kind, each small enough for a quick test yet large enough that memory spent in
// proportion to what it claims, or to its size several times over, would show.
std::vector<HostileFile> HostileFiles();

}  // namespace tarnwick::test

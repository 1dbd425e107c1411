#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// Opens a document with its default program, or starts a program, detached from this process.
class Shell {
 public:
  virtual ~Shell() = default;
  // Greater than 32 when the start succeeded; 32 or less when it failed. Each argument reaches
  // a started program whole, spaces included.
  virtual int Open(const std::string& file, const std::vector<std::string>& arguments) = 0;
};

}  // namespace tarnwick

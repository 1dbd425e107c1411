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
  // Shows a document of the program's own to the user: with the document's default program,
  // or, where that cannot start and the system has a viewer of its own besides, with that
  // viewer. Programs started from then on find the program's companions in `programFolder`,
  // which joins the end of the search path unless it is empty. True once a viewer started.
  virtual bool ShowDocument(const std::string& document, const std::string& programFolder) = 0;
};

}  // namespace tarnwick

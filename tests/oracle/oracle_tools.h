#pragma once

// Small helpers shared by the oracle and command-line tests: running programs, files on disk,
// and what qpdf and poppler report about a PDF.
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell_command.h"
#include "temp_folder.h"

namespace tarnwick::oracle {

using test::CommandResult;
using test::Quoted;
using test::RunShell;

// An empty text when every program is on PATH, else a message naming the missing ones.
std::string MissingTools(const std::vector<std::string>& programs);


// What the oracles say about one file.
std::optional<int> PdfinfoPages(const std::filesystem::path& pdf);  // nothing when unreadable
std::string PageText(const std::filesystem::path& pdf);             // pdftotext, all pages
CommandResult QpdfCheck(const std::filesystem::path& pdf);
// The lines in which pdftoppm, drawing every page, reports an error; empty for a clean render.
std::string RenderErrors(const std::filesystem::path& pdf);

// One page as qpdf lists it: its object number and those of its content streams.
struct PageObjects {
  int page = 0;
  std::vector<int> contents;
};
std::vector<PageObjects> QpdfPages(const std::filesystem::path& pdf);
std::set<int> PageNumbersOf(const std::vector<PageObjects>& pages);
// The raw (still encoded) data of stream object `number`, as qpdf reads it.
std::string RawStreamData(const std::filesystem::path& pdf, int number);
// True when some object of the file is stored inside an object stream.
bool HasObjectStreams(const std::filesystem::path& pdf);
// The /ID array of the trailer as qpdf prints it, or an empty text.
std::string QpdfTrailerId(const std::filesystem::path& pdf);

}  // namespace tarnwick::oracle

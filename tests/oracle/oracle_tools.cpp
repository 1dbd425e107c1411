#include "oracle_tools.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace tarnwick::oracle {

namespace fs = std::filesystem;

std::string MissingTools(const std::vector<std::string>& programs) {
  std::string missing;
  for (const std::string& program : programs) {
    if (RunShell("command -v " + Quoted(program)).status != 0) missing += " " + program;
  }
  if (missing.empty()) return {};
  return "required programs not found:" + missing +
         " (install qpdf, poppler-utils and ghostscript, e.g. with scripts/deps.sh)";
}

std::optional<int> PdfinfoPages(const fs::path& pdf) {
  const CommandResult info = RunShell("pdfinfo " + Quoted(pdf));
  std::smatch match;
  if (info.status != 0 || !std::regex_search(info.out, match, std::regex(R"(\nPages:\s+(\d+))"))) {
    return std::nullopt;
  }
  return std::stoi(match[1]);
}

std::string PageText(const fs::path& pdf) {
  return RunShell("pdftotext " + Quoted(pdf) + " -").out;
}

CommandResult QpdfCheck(const fs::path& pdf) { return RunShell("qpdf --check " + Quoted(pdf)); }

std::string RenderErrors(const fs::path& pdf) {
  const test::TempFolder pictures;
  return RunShell("pdftoppm -r 10 " + Quoted(pdf) + " " + Quoted(pictures.File("page")) +
                  " 2>&1 >/dev/null | grep -i error")
      .out;
}

std::vector<PageObjects> QpdfPages(const fs::path& pdf) {
  std::istringstream lines(RunShell("qpdf --show-pages " + Quoted(pdf)).out);
  const std::regex pageLine(R"(page \d+: (\d+) \d+ R)");
  const std::regex contentLine(R"(\s+(\d+) \d+ R)");
  std::vector<PageObjects> pages;
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, match, pageLine)) {
      pages.push_back({std::stoi(match[1]), {}});
    } else if (!pages.empty() && std::regex_match(line, match, contentLine)) {
      pages.back().contents.push_back(std::stoi(match[1]));
    }
  }
  return pages;
}

std::set<int> PageNumbersOf(const std::vector<PageObjects>& pages) {
  std::set<int> numbers;
  for (const PageObjects& page : pages) numbers.insert(page.page);
  return numbers;
}

std::string RawStreamData(const fs::path& pdf, int number) {
  return RunShell("qpdf --show-object=" + std::to_string(number) + " --raw-stream-data " +
                  Quoted(pdf))
      .out;
}

bool HasObjectStreams(const fs::path& pdf) {
  return RunShell("qpdf --show-xref " + Quoted(pdf)).out.find(": compressed;") != std::string::npos;
}

std::string QpdfTrailerId(const fs::path& pdf) {
  const std::string trailer = RunShell("qpdf --show-object=trailer " + Quoted(pdf)).out;
  std::smatch match;
  return std::regex_search(trailer, match, std::regex(R"(/ID \[[^\]]*\])")) ? match.str() : "";
}

}  // namespace tarnwick::oracle

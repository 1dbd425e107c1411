#include "sample_documents.h"

#include <regex>
#include <stdexcept>

#include "oracle_tools.h"

namespace tarnwick::oracle {

namespace fs = std::filesystem;

namespace {

constexpr int kPageCount = 6;

// Fixed dates and time zone keep every producer's output the same length from run to run, so
// the byte positions the engine's scan sees do not change between runs.
const std::string kStableClock = "SOURCE_DATE_EPOCH=1700000000 TZ=UTC ";

// Page N holds a title and N + 1 sample lines, so that pages differ in length.
std::string PostScriptDocument() {
  std::string ps = "%!PS\n/Helvetica findfont 14 scalefont setfont\n";
  for (int page = 1; page <= kPageCount; ++page) {
    ps += "72 720 moveto (Page " + std::to_string(page) + " of the sample) show\n";
    for (int line = 1; line <= page + 1; ++line) {
      ps += "72 " + std::to_string(720 - 20 * line) + " moveto (" + SampleDocuments::kSampleLine +
            ") show\n";
    }
    ps += "showpage\n";
  }
  return ps;
}

void RunTool(const std::string& command) {
  const CommandResult result = RunShell(kStableClock + command);
  if (result.status != 0) {
    throw std::runtime_error("`" + command + "` failed with status " +
                             std::to_string(result.status) + ": " + result.err + result.out);
  }
}

std::string TrailerValue(const std::string& trailer, const std::string& key) {
  std::smatch match;
  if (!std::regex_search(trailer, match, std::regex("/" + key + " (\\d+)"))) {
    throw std::runtime_error("no /" + key + " in trailer " + trailer);
  }
  return match[1];
}

// The digits after the last "startxref", or an empty text.
std::string StartXrefValue(const std::string& bytes) {
  const auto keyword = bytes.rfind("startxref");
  if (keyword == std::string::npos) return {};
  const auto first = bytes.find_first_not_of(" \r\n", keyword + 9);
  const auto last = bytes.find_first_not_of("0123456789", first);
  return first == std::string::npos ? std::string() : bytes.substr(first, last - first);
}

std::string XrefEntry(std::size_t offset) {
  std::string digits = std::to_string(offset);
  return std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
}

}  // namespace

const std::vector<std::string>& SampleDocuments::Producers() {
  static const std::vector<std::string> producers = {"ghostscript", "cairo", "qpdf", "qdf",
                                                     "incremental"};
  return producers;
}

SampleDocuments::SampleDocuments(fs::path folder) : folder_(std::move(folder)) {}

const fs::path& SampleDocuments::Document(const std::string& producer) {
  auto found = made_.find(producer);
  if (found == made_.end()) found = made_.emplace(producer, Make(producer)).first;
  return found->second;
}

fs::path SampleDocuments::Make(const std::string& producer) {
  const fs::path pdf = folder_ / (producer + ".pdf");
  if (producer == "ghostscript") {
    const fs::path ps = folder_ / "sample.ps";
    test::WriteFile(ps, PostScriptDocument());
    RunTool("ps2pdf -dCompatibilityLevel=1.4 " + Quoted(ps) + " " + Quoted(pdf));
  } else if (producer == "cairo") {
    RunTool("pdftocairo -pdf " + Quoted(Document("ghostscript")) + " " + Quoted(pdf));
  } else if (producer == "qpdf") {
    RunTool("qpdf --object-streams=disable " + Quoted(Document("ghostscript")) + " " + Quoted(pdf));
  } else if (producer == "qdf") {
    RunTool("qpdf --qdf --object-streams=disable " + Quoted(Document("ghostscript")) + " " +
            Quoted(pdf));
  } else if (producer == "incremental") {
    return AppendUpdate(Document("qpdf"));
  } else {
    throw std::invalid_argument("unknown producer " + producer);
  }
  if (HasObjectStreams(pdf)) {
    // A producer that packs objects is rewritten without, keeping its objects otherwise.
    const fs::path packed = folder_ / (producer + "-packed.pdf");
    fs::rename(pdf, packed);
    RunTool("qpdf --object-streams=disable " + Quoted(packed) + " " + Quoted(pdf));
  }
  return pdf;
}

fs::path SampleDocuments::AppendUpdate(const fs::path& base) {
  const std::vector<PageObjects> pages = QpdfPages(base);
  if (pages.empty() || pages[0].contents.size() != 1) {
    throw std::runtime_error("unexpected first page in " + base.string());
  }
  const std::string number = std::to_string(pages[0].contents[0]);
  std::string content =
      RunShell("qpdf --show-object=" + number + " --filtered-stream-data " + Quoted(base)).out;
  const auto line = content.find(kSampleLine);
  if (line == std::string::npos) throw std::runtime_error("no sample line on the first page");
  content.replace(line, std::string(kSampleLine).size(), kRevisedLine);

  const std::string trailer = RunShell("qpdf --show-object=trailer " + Quoted(base)).out;
  std::string bytes = test::ReadFile(base);
  const std::string previousXref = StartXrefValue(bytes);
  if (previousXref.empty()) throw std::runtime_error("no startxref in " + base.string());
  const std::size_t objectOffset = bytes.size();
  bytes += number + " 0 obj\n<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
           content + "\nendstream\nendobj\n";
  const std::size_t xrefOffset = bytes.size();
  bytes += "xref\n0 1\n0000000000 65535 f \n" + number + " 1\n" + XrefEntry(objectOffset) +
           "trailer\n<< /Size " + TrailerValue(trailer, "Size") + " /Root " +
           TrailerValue(trailer, "Root") + " 0 R /Prev " + previousXref + " >>\nstartxref\n" +
           std::to_string(xrefOffset) + "\n%%EOF\n";
  const fs::path pdf = folder_ / "incremental.pdf";
  test::WriteFile(pdf, bytes);
  if (const CommandResult check = QpdfCheck(pdf); check.status != 0) {
    throw std::runtime_error("the incremental update is not clean: " + check.out + check.err);
  }
  return pdf;
}

fs::path SampleDocuments::Encrypted(const std::string& producer) {
  const fs::path pdf = folder_ / ("encrypted-" + producer + ".pdf");
  RunTool(
      "qpdf --allow-weak-crypto --encrypt '' owner 128 --use-aes=n -- --object-streams=disable " +
      Quoted(Document(producer)) + " " + Quoted(pdf));
  return pdf;
}

}  // namespace tarnwick::oracle

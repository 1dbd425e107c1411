#include "sample_documents.h"

#include <algorithm>
#include <regex>
#include <set>
#include <stdexcept>

#include "oracle_tools.h"
#include "stored_file.h"

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

std::string ShowObject(const fs::path& pdf, const std::string& object) {
  return RunShell("qpdf --show-object=" + object + " " + Quoted(pdf)).out;
}

std::string StreamBody(const std::string& data) {
  return "<< /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

// The decoded content stream `number` of `pdf`, with its first sample line revised.
std::string RevisedContent(const fs::path& pdf, int number) {
  std::string content = RunShell("qpdf --show-object=" + std::to_string(number) +
                                 " --filtered-stream-data " + Quoted(pdf))
                            .out;
  const auto line = content.find(SampleDocuments::kSampleLine);
  if (line == std::string::npos) throw std::runtime_error("no sample line in the content stream");
  return content.replace(line, std::string(SampleDocuments::kSampleLine).size(),
                         SampleDocuments::kRevisedLine);
}

// The bytes of `base` with an appended update that holds `objects` (number: the text between
// "obj" and "endobj"), its own cross-reference section and a trailer pointing to the previous one.
std::string WithUpdate(const fs::path& base, const std::map<int, std::string>& objects) {
  const std::string trailer = ShowObject(base, "trailer");
  std::string bytes = test::ReadFile(base);
  const std::string previousXref = StartXrefValue(bytes);
  if (previousXref.empty()) throw std::runtime_error("no startxref in " + base.string());
  int size = std::stoi(TrailerValue(trailer, "Size"));
  std::string table = "xref\n0 1\n0000000000 65535 f \n";
  for (const auto& [number, body] : objects) {
    table += std::to_string(number) + " 1\n" + XrefEntry(bytes.size());
    bytes += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    size = std::max(size, number + 1);
  }
  const std::size_t xrefOffset = bytes.size();
  bytes += table + "trailer\n<< /Size " + std::to_string(size) + " /Root " +
           TrailerValue(trailer, "Root") + " 0 R /Prev " + previousXref + " >>\nstartxref\n" +
           std::to_string(xrefOffset) + "\n%%EOF\n";
  return bytes;
}

}  // namespace

const std::vector<std::string>& SampleDocuments::Producers() {
  static const std::vector<std::string> producers = {"ghostscript", "cairo", "qpdf", "qdf",
                                                     "incremental"};
  return producers;
}

const std::vector<std::string>& SampleDocuments::Layouts() {
  static const std::vector<std::string> layouts = {"updated_page", "reversed_pages",
                                                   "generation_one"};
  return layouts;
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
    return ReplaceFirstContents(Document("qpdf"));
  } else if (producer == "updated_page") {
    return ReplaceSecondPage(Document("qpdf"));
  } else if (producer == "reversed_pages") {
    return ReversePageObjects(Document("qpdf"));
  } else if (producer == "generation_one") {
    return MoveToGenerationOne(Document("qpdf"));
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

fs::path SampleDocuments::ReplaceFirstContents(const fs::path& base) {
  const std::vector<PageObjects> pages = QpdfPages(base);
  if (pages.empty() || pages[0].contents.size() != 1) {
    throw std::runtime_error("unexpected first page in " + base.string());
  }
  const int contents = pages[0].contents[0];
  return WriteChecked("incremental",
                      WithUpdate(base, {{contents, StreamBody(RevisedContent(base, contents))}}));
}

// The update gives the second page a new dictionary that points to a new content stream, so the
// page's old version, still in front of the update, shows the old text.
fs::path SampleDocuments::ReplaceSecondPage(const fs::path& base) {
  const std::vector<PageObjects> pages = QpdfPages(base);
  if (pages.size() < 2 || pages[1].contents.size() != 1) {
    throw std::runtime_error("unexpected second page in " + base.string());
  }
  const std::string page = std::to_string(pages[1].page);
  const int contents = pages[1].contents[0];
  const std::string added = TrailerValue(ShowObject(base, "trailer"), "Size");  // a new number
  const std::string oldPage = ShowObject(base, page);
  const std::string newPage =
      std::regex_replace(oldPage, std::regex("/Contents " + std::to_string(contents) + " 0 R"),
                         "/Contents " + added + " 0 R");
  if (newPage == oldPage) throw std::runtime_error("no /Contents in page object " + page);
  return WriteChecked(
      "updated_page",
      WithUpdate(base, {{std::stoi(page), newPage},
                        {std::stoi(added), StreamBody(RevisedContent(base, contents))}}));
}

fs::path SampleDocuments::ReversePageObjects(const fs::path& base) {
  StoredFile file = StoredFile::Read(base);
  const std::vector<PageObjects> pages = QpdfPages(base);
  const std::set<int> pageNumbers = PageNumbersOf(pages);
  std::map<int, StoredObject> pageObjects;
  std::vector<std::size_t> slots;  // where page objects stand, in file order
  for (std::size_t i = 0; i < file.objects.size(); ++i) {
    if (pageNumbers.contains(file.objects[i].number)) {
      pageObjects[file.objects[i].number] = file.objects[i];
      slots.push_back(i);
    }
  }
  if (slots.size() != pages.size()) {
    throw std::runtime_error("not one object per page in " + base.string());
  }
  for (std::size_t k = 0; k < slots.size(); ++k) {
    file.objects[slots[k]] = pageObjects.at(pages[pages.size() - 1 - k].page);
  }
  return WriteChecked("reversed_pages", file.Bytes());
}

// Every page object and content stream moves to generation 1. The headers of the first page's
// objects and of every font stand on three lines; the text needs the font, so a reader that
// misses such a header loses text.
fs::path SampleDocuments::MoveToGenerationOne(const fs::path& base) {
  StoredFile file = StoredFile::Read(base);
  const std::vector<PageObjects> pages = QpdfPages(base);
  std::map<int, int> generations;
  for (const PageObjects& page : pages) {
    generations[page.page] = 1;
    for (const int contents : page.contents) generations[contents] = 1;
  }
  file.SetGenerations(generations);
  std::set<int> split(pages.front().contents.begin(), pages.front().contents.end());
  split.insert(pages.front().page);
  for (StoredObject& object : file.objects) {
    if (split.contains(object.number) || object.body.find("/Type /Font") != std::string::npos) {
      object.separator = "\n";
    }
  }
  return WriteChecked("generation_one", file.Bytes());
}

fs::path SampleDocuments::WriteChecked(const std::string& name, const std::string& bytes) {
  const fs::path pdf = folder_ / (name + ".pdf");
  test::WriteFile(pdf, bytes);
  const CommandResult check = QpdfCheck(pdf);
  if (check.status != 0 || (check.out + check.err).find("WARNING") != std::string::npos) {
    throw std::runtime_error(pdf.string() + " is not clean: " + check.out + check.err);
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

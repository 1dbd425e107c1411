// The same intact documents moved by every shift from 0 to 127 bytes: a comment line after the
// header pushes every object along, and the cross-reference offsets follow, so each copy stays a
// valid file. The engine reads its source in 512-byte chunks from offset 8 and tests a keyword
// only inside one chunk; a page keyword or a trailer keyword that ends past a chunk's last byte
// is missed, apart from the one page keyword per file that the border rule catches. So every
// shift must give a clean copy without foreign pages, and every shift that puts no such keyword
// on a border must keep every page.
#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

constexpr std::size_t kShifts = 128;

bool IsXrefEntry(const std::string& line) {
  return line.size() >= 18 && line.find_first_not_of("0123456789") == 10 && line[10] == ' ' &&
         line.find_first_not_of("0123456789", 11) == 16 && line.substr(16, 2) == " n";
}

// `pdf` (one classic cross-reference table) with `shift` more bytes after its first line.
std::string Shifted(const std::string& pdf, std::size_t shift) {
  if (shift == 0) return pdf;
  const std::size_t insertAt = pdf.find('\n') + 1;
  const std::string padding = shift == 1 ? "\n" : "%" + std::string(shift - 2, 'x') + "\n";
  const std::size_t xref = pdf.rfind("\nxref") + 1;
  std::string tail;
  std::size_t at = xref;
  while (at < pdf.size()) {
    const std::size_t end = std::min(pdf.find('\n', at), pdf.size() - 1) + 1;
    std::string line = pdf.substr(at, end - at);
    if (IsXrefEntry(line)) {
      const std::string moved = std::to_string(std::stoull(line.substr(0, 10)) + shift);
      line.replace(0, 10, std::string(10 - moved.size(), '0') + moved);
    } else if (line.rfind("startxref", 0) == 0 && end < pdf.size()) {
      // The value is on the next line.
      tail += line;
      at = end;
      const std::size_t valueEnd = pdf.find_first_not_of("0123456789", at);
      line = std::to_string(std::stoull(pdf.substr(at, valueEnd - at)) + shift);
      tail += line;
      at = valueEnd;
      continue;
    }
    tail += line;
    at = end;
  }
  return pdf.substr(0, insertAt) + padding + pdf.substr(insertAt, xref - insertAt) + tail;
}

constexpr std::size_t kChunkSize = 512;
constexpr std::size_t kScanStart = 8;

// True when a "/Page" or "trailer" keyword of `pdf` lies within the last bytes of a chunk or is
// cut by its border, where the chunked scan may miss it.
bool HasKeywordAtChunkBorder(const std::string& pdf) {
  for (const std::string keyword : {"/Page", "trailer"}) {
    for (std::size_t at = pdf.find(keyword); at != std::string::npos;
         at = pdf.find(keyword, at + 1)) {
      if (at < kScanStart) continue;
      const std::size_t inChunk = (at - kScanStart) % kChunkSize;
      if (inChunk + 8 > kChunkSize || inChunk < 6) return true;
    }
  }
  return false;
}

struct ShiftCase {
  std::string producer;
  bool encrypted = false;
};

void PrintTo(const ShiftCase& param, std::ostream* out) {
  *out << param.producer << (param.encrypted ? " encrypted" : "");
}

class OracleShiftedFile : public OracleTest<ShiftCase> {};

TEST_P(OracleShiftedFile, EveryShiftOffTheChunkBordersKeepsAllPagesAndStaysReadable) {
  const ShiftCase& param = GetParam();
  const auto original =
      param.encrypted ? Samples().Encrypted(param.producer) : Samples().Document(param.producer);
  const std::string bytes = test::ReadFile(original);
  const std::set<int> pages = PageNumbersOf(QpdfPages(original));
  test::TempFolder work;
  const auto source = work / "shifted.pdf";
  const auto out = work / "out";
  std::filesystem::create_directory(out);

  test::WriteFile(source, Shifted(bytes, kShifts - 1));
  const CommandResult sane = QpdfCheck(source);
  ASSERT_EQ(sane.status, 0) << "the shifted copy itself is not clean: " << sane.out << sane.err;

  std::vector<std::string> failures;
  std::size_t offBorder = 0;
  for (std::size_t shift = 0; shift < kShifts; ++shift) {
    const std::string shifted = Shifted(bytes, shift);
    test::WriteFile(source, shifted);
    std::filesystem::remove(out / "shifted.pdf");
    const EngineRepair repair = RepairInto(source, out);
    const std::set<int> kept = PageNumbersOf(QpdfPages(repair.output));
    const bool onBorder = HasKeywordAtChunkBorder(shifted);
    offBorder += onBorder ? 0 : 1;
    // An encrypted copy whose trailer keyword was missed loses its /Encrypt entry with it.
    const bool mustBeClean = !onBorder || !param.encrypted;
    const CommandResult check = QpdfCheck(repair.output);
    const bool pagesOk = onBorder ? std::includes(pages.begin(), pages.end(), kept.begin(),
                                                  kept.end())
                                  : kept == pages;
    if (!repair.repaired || !pagesOk || (mustBeClean && check.status != 0)) {
      failures.push_back("shift " + std::to_string(shift) + ": " + std::to_string(kept.size()) +
                         " of " + std::to_string(pages.size()) + " pages, qpdf --check status " +
                         std::to_string(check.status));
    }
  }
  std::string list;
  for (const std::string& failure : failures) list += "\n  " + failure;
  EXPECT_TRUE(failures.empty()) << failures.size() << " of " << kShifts
                                << " shifts failed:" << list;
  // The borders must not swallow the test: most shifts keep every keyword inside a chunk.
  EXPECT_GT(offBorder, kShifts / 2);
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleShiftedFile,
                         ::testing::Values(ShiftCase{"ghostscript", false},
                                           ShiftCase{"cairo", false}, ShiftCase{"qpdf", false},
                                           ShiftCase{"ghostscript", true}),
                         [](const ::testing::TestParamInfo<ShiftCase>& row) {
                           return row.param.producer + (row.param.encrypted ? "_encrypted" : "");
                         });

}  // namespace
}  // namespace tarnwick::oracle

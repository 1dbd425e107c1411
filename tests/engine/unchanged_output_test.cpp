// Files that use none of the newer structures (no object or cross-reference streams, no inherited
// attributes, a catalog of /Type and /Pages alone, no /Info) must repair byte for byte as they
// do with the keyword rules alone. The files are generated from seeds, with near misses of every
// rule that reads PDF syntax in them: stream type names in strings, /Info inside a string,
// attributes that a page has itself and its tree has too, damage. Each expected digest is that of
// the repaired copy made by the engine that copies only the newest version of an object and lists
// pages in the tree's order; each of those copies passed qpdf --check and showed the pages and
// text of its source to pdfinfo and pdftotext. Seed 2's source is cut inside its last page, which
// the copy keeps as far as it goes: qpdf warns about that object, and pdfinfo counts six pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

std::uint64_t Fnv1a(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}
  unsigned Below(unsigned n) { return static_cast<unsigned>(random_() % n); }
  bool Chance() { return Below(2) == 1; }

  // Every draw is a statement of its own, so that the files do not depend on the order in which
  // a compiler evaluates arguments.
  std::string Make() {
    const LineEnd ends[] = {LineEnd::kLf, LineEnd::kCr, LineEnd::kCrLf};
    const LineEnd lineEnd = ends[Below(3)];
    const bool newer = Chance();
    PdfBuilder pdf(lineEnd, newer ? "%PDF-1.7" : "%PDF-1.4");
    const int pages = 1 + static_cast<int>(Below(6));
    const bool twoLevels = Chance();
    const int root = 2;
    const int middle = 3;
    const int firstPage = 10;
    const bool spaced = Chance();
    pdf.Object(1, spaced ? "<< /Type /Catalog /Pages 2 0 R >>" : "<</Pages 2 0 R/Type/Catalog>>");
    std::string kids;
    for (int p = 0; p < pages; ++p) kids += std::to_string(firstPage + 2 * p) + " 0 R ";
    // The tree's nodes carry attributes that every page also has itself: nothing is inherited.
    const bool treeHasAttributes = Chance();
    const std::string treeAttributes =
        treeHasAttributes ? "/MediaBox [0 0 612 792] /Rotate 0 " : "";
    if (twoLevels) {
      pdf.Object(root, "<< /Type /Pages /Kids [3 0 R] /Count " + std::to_string(pages) + " " +
                           treeAttributes + ">>");
      pdf.Object(middle, "<< /Type /Pages /Parent 2 0 R /Kids [" + kids + "] /Count " +
                             std::to_string(pages) + " >>");
    } else {
      pdf.Object(root, "<< /Type /Pages " + treeAttributes + "/Kids [" + kids + "] /Count " +
                           std::to_string(pages) + " >>");
    }
    const int parent = twoLevels ? middle : root;
    for (int p = 0; p < pages; ++p) {
      const int page = firstPage + 2 * p;
      const bool rotated = Chance();
      pdf.Object(page, PageBody(parent, page + 1, rotated));
      const bool nearMiss = Below(4) == 0;
      const std::string text = nearMiss ? "(XRef ObjStm /Info 5 0 R) Tj" : "(page) Tj";
      const std::string content = "BT /F1 12 Tf 72 720 Td " + text + " ET";
      pdf.Object(page + 1, "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                               content + "\nendstream");
    }
    pdf.Object(4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Note (Type /XRef) >>");
    const bool updated = Chance();
    if (updated) {
      // An update that replaces the first page with a rotated one.
      pdf.Object(firstPage, PageBody(parent, firstPage + 1, true));
    }
    pdf.XrefTable();
    std::string trailer = "/Size " + std::to_string(firstPage + 2 * pages) + " /Root 1 0 R";
    const bool identified = Chance();
    if (identified) {
      trailer += " /ID [<0123456789abcdef0123456789abcdef><fedcba9876543210fedcba9876543210>]";
    }
    const bool commented = Chance();
    if (commented) trailer += " /Comment (/Info 4 0 R)";
    pdf.Trailer(trailer);
    std::string bytes = pdf.Bytes();
    const bool truncated = Below(4) == 0;
    if (truncated) {
      const unsigned cut = Below(static_cast<unsigned>(bytes.size() / 3));
      bytes.resize(bytes.size() - cut);
    }
    return bytes;
  }

 private:
  std::string PageBody(int parent, int contents, bool rotated) {
    return "<< /Type /Page /Parent " + std::to_string(parent) +
           " 0 R /MediaBox [0 0 612 792] /CropBox [0 0 600 780] /Rotate " + (rotated ? "90" : "0") +
           " /Resources << /Font << /F1 4 0 R >> >> /Contents " + std::to_string(contents) +
           " 0 R >>";
  }

  std::mt19937 random_;
};

constexpr std::uint64_t kDigests[] = {
    12923960490065198880ULL, 9571844564325159225ULL,  1148347366320657531ULL,
    10064695849090788455ULL, 16971876259303256346ULL, 5320758919235173373ULL,
    8360768579148451789ULL,  15583986217653538544ULL, 274553858623866506ULL,
    16090739630793965924ULL, 3745132885461303703ULL,  12267285418099588898ULL,
    17290266214479734420ULL, 415629495859512043ULL,   17759950157276475824ULL,
    8487376331258099175ULL,  980334374403328071ULL,   8016466818194413860ULL,
    16217035618670886272ULL, 4554620291993779240ULL,  8686689413942262290ULL,
    17437926988889990681ULL, 11373528962945714693ULL, 10553650163290454415ULL,
    18159668158151233801ULL, 3652178167836407889ULL,  1479735053648627404ULL,
    6029738494396572392ULL,  11497606732407527228ULL, 14753707840603450585ULL,
    14846066225521303548ULL, 2995480386953190299ULL,
};

TEST(UnchangedOutput, GeneratedPlainFilesRepairAsBefore) {
  for (unsigned seed = 0; seed < std::size(kDigests); ++seed) {
    const std::string source = Generator(seed).Make();
    const RepairRun run = RepairBytes(source);
    ASSERT_TRUE(run.completed) << "seed " << seed << ": " << run.failureText;
    EXPECT_EQ(Fnv1a(run.output), kDigests[seed]) << "seed " << seed;
  }
}

}  // namespace
}  // namespace tarnwick::test

// Files that use none of the newer structures (no object or cross-reference streams, no inherited
// attributes, a catalog of /Type and /Pages alone, no /Info) must repair byte for byte as they
// did before the engine read PDF syntax. The files are generated from seeds, with near misses of
// every new rule in them: stream type names in strings, /Info inside a string, attributes that a
// page has itself and its tree has too, damage. Each expected digest is that of the repaired copy
// made by the engine before it read object streams.
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
  for (const unsigned char c : bytes) {
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

  std::string Make() {
    const LineEnd ends[] = {LineEnd::kLf, LineEnd::kCr, LineEnd::kCrLf};
    PdfBuilder pdf(ends[Below(3)], Chance() ? "%PDF-1.4" : "%PDF-1.7");
    const int pages = 1 + static_cast<int>(Below(6));
    const bool twoLevels = Chance();
    const int root = 2;
    const int middle = 3;
    const int firstPage = 10;
    pdf.Object(1, Chance() ? "<< /Type /Catalog /Pages 2 0 R >>" : "<</Pages 2 0 R/Type/Catalog>>");
    std::string kids;
    for (int p = 0; p < pages; ++p) kids += std::to_string(firstPage + 2 * p) + " 0 R ";
    // The tree's nodes carry attributes that every page also has itself: nothing is inherited.
    const std::string treeAttributes = Chance() ? "/MediaBox [0 0 612 792] /Rotate 0 " : "";
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
      pdf.Object(page, PageBody(parent, page + 1, Chance()));
      const std::string text = Below(4) == 0 ? "(XRef ObjStm /Info 5 0 R) Tj" : "(page) Tj";
      const std::string content = "BT /F1 12 Tf 72 720 Td " + text + " ET";
      pdf.Object(page + 1, "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                               content + "\nendstream");
    }
    pdf.Object(4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Note (Type /XRef) >>");
    if (Chance()) {
      // An update that replaces the first page with a rotated one.
      pdf.Object(firstPage, PageBody(parent, firstPage + 1, true));
    }
    pdf.XrefTable();
    std::string trailer = "/Size " + std::to_string(firstPage + 2 * pages) + " /Root 1 0 R";
    if (Chance()) trailer += " /ID [<0123456789abcdef0123456789abcdef><fedcba9876543210fedcba9876543210>]";
    if (Chance()) trailer += " /Comment (/Info 4 0 R)";
    pdf.Trailer(trailer);
    std::string bytes = pdf.Bytes();
    if (Below(4) == 0) bytes.resize(bytes.size() - Below(static_cast<unsigned>(bytes.size() / 3)));
    return bytes;
  }

 private:
  std::string PageBody(int parent, int contents, bool rotated) {
    return "<< /Type /Page /Parent " + std::to_string(parent) +
           " 0 R /MediaBox [0 0 612 792] /CropBox [0 0 600 780] /Rotate " +
           (rotated ? "90" : "0") + " /Resources << /Font << /F1 4 0 R >> >> /Contents " +
           std::to_string(contents) + " 0 R >>";
  }

  std::mt19937 random_;
};

constexpr std::uint64_t kDigests[] = {
    49804496604045386ULL,
    7901461624480332609ULL,
    8513204846344735094ULL,
    6533238952089597382ULL,
    5753082584676013121ULL,
    17447965377414988302ULL,
    7190319218963210183ULL,
    10976280227422283138ULL,
    13732639882310687768ULL,
    6543940868206408462ULL,
    18289904884234160325ULL,
    16917671982620247711ULL,
    6991125023680981319ULL,
    12845979173191544420ULL,
    15386564399567296905ULL,
    16146485378197519979ULL,
    435182039592721477ULL,
    2470409293133187883ULL,
    16217035618670886272ULL,
    4554620291993779240ULL,
    9083376983021336976ULL,
    14464804544955584698ULL,
    16405509205500696368ULL,
    13871089446694839391ULL,
    11011909837958663617ULL,
    5140551671314456778ULL,
    3187077326355014326ULL,
    6029738494396572392ULL,
    6413991948877170502ULL,
    14206697416981685272ULL,
    10964608278696917191ULL,
    2995480386953190299ULL,
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

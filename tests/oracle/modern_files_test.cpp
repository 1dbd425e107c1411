// Real files written the way PDF 1.5 producers write them: objects packed in compressed object
// streams, cross-reference streams instead of a table and trailer, document information and
// bookmarks. The repaired copy must be clean to qpdf and keep every page, the text, the
// information and the bookmarks; damage to the cross-reference stream must not matter.
#include <algorithm>
#include <map>
#include <regex>
#include <sstream>

#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

namespace fs = std::filesystem;

constexpr char kTitle[] = "Tarnwick modern sample";
constexpr char kAuthor[] = "Oracle Author";

// Three pages with document information and a bookmark per page, through Ghostscript.
std::string PostScriptWithBookmarks() {
  std::string ps =
      "%!PS\n[ /Title (" + std::string(kTitle) + ") /Author (" + kAuthor + ") /DOCINFO pdfmark\n";
  for (int page = 1; page <= 3; ++page) {
    ps += "[ /Title (Chapter " + std::to_string(page) + ") /Page " + std::to_string(page) +
          " /OUT pdfmark\n";
  }
  ps += "/Helvetica findfont 14 scalefont setfont\n";
  for (int page = 1; page <= 3; ++page) {
    ps += "72 720 moveto (Modern page " + std::to_string(page) + " words) show showpage\n";
  }
  return ps;
}

void Run(const std::string& command) {
  const CommandResult result = RunShell("SOURCE_DATE_EPOCH=1700000000 TZ=UTC " + command);
  if (result.status != 0) throw std::runtime_error(command + ": " + result.err + result.out);
}

// How qpdf encrypts the encrypted kinds, all with an empty user password: each revision of the
// standard security handler and each of its ciphers.
const std::map<std::string, std::string>& Encryptions() {
  static const std::map<std::string, std::string> encryptions = {
      {"rc4-40", "--allow-weak-crypto --encrypt '' owner 40 -- "},
      {"rc4-128", "--allow-weak-crypto --encrypt '' owner 128 --use-aes=n -- "},
      {"aes-128", "--encrypt '' owner 128 --use-aes=y -- "},
      {"aes-256-r5", "--encrypt '' owner 256 --force-R5 -- "},
      {"aes-256", "--encrypt '' owner 256 -- "},
      {"linearized-aes-128", "--linearize --encrypt '' owner 128 --use-aes=y -- "},
  };
  return encryptions;
}

bool IsEncrypted(const std::string& kind) { return Encryptions().contains(kind); }

// The packed documents of this process, made once: each producer's file rewritten by qpdf with
// object streams (and so a cross-reference stream), a linearized one, and encrypted ones.
class PackedDocuments {
 public:
  static const std::vector<std::string>& Kinds() {
    static const std::vector<std::string> kinds = [] {
      std::vector<std::string> all = {"ghostscript", "cairo", "linearized"};
      for (const auto& [kind, arguments] : Encryptions()) all.push_back(kind);
      return all;
    }();
    return kinds;
  }

  const fs::path& Document(const std::string& kind) {
    if (made_.empty()) Make();
    return made_.at(kind);
  }

 private:
  void Make() {
    const fs::path ps = folder_ / "modern.ps";
    test::WriteFile(ps, PostScriptWithBookmarks());
    const fs::path gs = folder_ / "plain-gs.pdf";
    const fs::path cairo = folder_ / "plain-cairo.pdf";
    Run("ps2pdf " + Quoted(ps) + " " + Quoted(gs));
    Run("pdftocairo -pdf " + Quoted(gs) + " " + Quoted(cairo));
    auto pack = [&](const fs::path& from, const std::string& kind, const std::string& extra) {
      const fs::path to = folder_ / (kind + ".pdf");
      Run("qpdf --object-streams=generate " + extra + Quoted(from) + " " + Quoted(to));
      made_[kind] = to;
    };
    pack(gs, "ghostscript", "");
    pack(cairo, "cairo", "");
    pack(gs, "linearized", "--linearize ");
    for (const auto& [kind, arguments] : Encryptions()) pack(gs, kind, arguments);
  }

  test::TempFolder folder_;
  std::map<std::string, fs::path> made_;
};

PackedDocuments& Packed() {
  static PackedDocuments documents;
  return documents;
}

std::string InfoField(const fs::path& pdf, const std::string& field) {
  std::smatch match;
  const std::string info = RunShell("pdfinfo " + Quoted(pdf)).out;
  return std::regex_search(info, match, std::regex(field + ":\\s+([^\\n]*)")) ? match.str(1) : "";
}

// The bookmark titles as qpdf reads them from the catalog's /Outlines.
std::vector<std::string> OutlineTitles(const fs::path& pdf) {
  const std::string json = RunShell("qpdf --json --json-key=outlines " + Quoted(pdf)).out;
  std::vector<std::string> titles;
  const std::regex title("\"title\": \"([^\"]*)\"");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), title);
       it != std::sregex_iterator(); ++it) {
    titles.push_back((*it)[1]);
  }
  return titles;
}

std::vector<std::string> SortedPageTexts(const fs::path& pdf) {
  std::vector<std::string> pages;
  std::istringstream text(PageText(pdf));
  for (std::string page; std::getline(text, page, '\f');) pages.push_back(page);
  std::sort(pages.begin(), pages.end());
  return pages;
}

// Every object of a file as qpdf reads it, decrypted, by number: the lines of its JSON without
// /Parent (pages get a new one). The new page tree, the catalog and the streams that only
// packed objects or cross-references are left out: the repair rebuilds or drops those.
std::map<int, std::string> DecryptedObjects(const fs::path& pdf) {
  const std::string json = RunShell("qpdf --json=2 --json-key=qpdf " + Quoted(pdf)).out;
  const std::regex header(R"(^      "obj:(\d+) \d+ R": \{$)");
  std::map<int, std::string> objects;
  std::string* current = nullptr;
  std::istringstream lines(json);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_match(line, match, header)) {
      current = &objects[std::stoi(match.str(1))];
    } else if (line.rfind("    }", 0) == 0) {
      current = nullptr;
    } else if (current && line.find("\"/Parent\":") == std::string::npos) {
      *current += line + "\n";
    }
  }
  std::erase_if(objects, [](const auto& object) {
    for (const char* rebuilt : {"/Pages", "/Catalog", "/ObjStm", "/XRef"}) {
      if (object.second.find("\"/Type\": \"" + std::string(rebuilt) + "\"") != std::string::npos) {
        return true;
      }
    }
    return false;
  });
  return objects;
}

// Every object of the original reads the same in the copy, once both are decrypted.
void ExpectSameObjects(const fs::path& original, const fs::path& copy) {
  const std::map<int, std::string> copied = DecryptedObjects(copy);
  const std::map<int, std::string> originals = DecryptedObjects(original);
  ASSERT_FALSE(originals.empty());
  for (const auto& [number, object] : originals) {
    const auto found = copied.find(number);
    EXPECT_TRUE(found != copied.end() && found->second == object)
        << "object " << number << " of " << original << " is not the same in " << copy << ":\n"
        << object << "became:\n"
        << (found == copied.end() ? "nothing" : found->second);
  }
}

enum class PageOrder { kKept, kAny };

// What qpdf says of a file's encryption: revision, permissions and methods, or that it has none.
std::string EncryptionReport(const fs::path& pdf) {
  return RunShell("qpdf --show-encryption " + Quoted(pdf)).out;
}

void ExpectCleanCopyOf(const fs::path& original, const EngineRepair& repair, PageOrder order) {
  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_FALSE(repair.packedObjectsProtected);
  // An encrypted original's copy keeps its protection, and every string of it reads as before.
  EXPECT_EQ(EncryptionReport(repair.output), EncryptionReport(original));
  ExpectSameObjects(original, repair.output);
  const CommandResult check = QpdfCheck(repair.output);
  EXPECT_EQ(check.status, 0) << "qpdf --check " << repair.output << "\n" << check.out << check.err;
  EXPECT_FALSE(HasObjectStreams(repair.output));
  EXPECT_EQ(PdfinfoPages(repair.output), 3);
  if (order == PageOrder::kKept) {
    EXPECT_EQ(PageText(repair.output), PageText(original));
  } else {
    EXPECT_EQ(SortedPageTexts(repair.output), SortedPageTexts(original));
  }
  // pdftocairo writes neither information nor bookmarks; what the original has is kept.
  EXPECT_EQ(InfoField(repair.output, "Title"), InfoField(original, "Title"));
  EXPECT_EQ(InfoField(repair.output, "Author"), InfoField(original, "Author"));
  EXPECT_EQ(OutlineTitles(repair.output), OutlineTitles(original));
}

// Repairs `bytes`, a damaged copy of `original`, into `out`, and expects a clean file with the
// original's three pages and their text.
EngineRepair ExpectPagesAfterDamage(const fs::path& original, const std::string& bytes,
                                    const test::TempFolder& out) {
  test::TempFolder work;
  const fs::path damaged = work / "damaged.pdf";
  test::WriteFile(damaged, bytes);
  const EngineRepair repair = RepairInto(damaged, out.Path());
  EXPECT_TRUE(repair.repaired) << repair.failure;
  const CommandResult check = QpdfCheck(repair.output);
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_EQ(PdfinfoPages(repair.output), 3);
  EXPECT_EQ(PageText(repair.output), PageText(original));
  return repair;
}

using OracleModernFile = OracleTest<std::string>;

TEST_P(OracleModernFile, PackedFileIsInTheTestAsWrittenByItsProducer) {
  const fs::path& original = Packed().Document(GetParam());
  ASSERT_TRUE(HasObjectStreams(original));
  EXPECT_EQ(QpdfCheck(original).status, 0);
  if (GetParam() != "cairo") {
    EXPECT_EQ(InfoField(original, "Title"), kTitle);
    EXPECT_EQ(InfoField(original, "Author"), kAuthor);
    EXPECT_EQ(OutlineTitles(original),
              (std::vector<std::string>{"Chapter 1", "Chapter 2", "Chapter 3"}));
  }
}

TEST_P(OracleModernFile, RepairedCopyIsCleanAndKeepsPagesTextInformationAndBookmarks) {
  const fs::path& original = Packed().Document(GetParam());
  test::TempFolder out;
  ExpectCleanCopyOf(original, RepairInto(original, out.Path()), PageOrder::kKept);
}

// Every cross-reference stream overwritten with junk of its length, and the trailing startxref
// section cut off: the engine never needed them. An encrypted file keeps the streams'
// dictionaries, whose /Encrypt and /ID no reader can do without; their data goes.
TEST_P(OracleModernFile, JunkInPlaceOfTheCrossReferenceStreamsChangesNothing) {
  const fs::path& original = Packed().Document(GetParam());
  std::string bytes = test::ReadFile(original);
  int overwritten = 0;
  for (auto type = bytes.find("/Type /XRef"); type != std::string::npos;
       type = bytes.find("/Type /XRef", type + 1)) {
    const bool dataOnly = IsEncrypted(GetParam());
    const auto start = dataOnly ? bytes.find("stream", type) + 6 : bytes.rfind(" 0 obj", type);
    const auto end = dataOnly ? bytes.find("endstream", type) : bytes.find("endobj", type) + 6;
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    for (auto i = start; i < end; ++i) {
      if (bytes[i] != '\n' && bytes[i] != '\r') bytes[i] = 'Z';
    }
    ++overwritten;
  }
  ASSERT_GT(overwritten, 0);
  test::TempFolder out;
  ExpectPagesAfterDamage(original, bytes, out);
}

// The copy of a packed file repaired once is a plain file; repairing it again keeps it whole. Its
// pages may come in another order: a repair lists them in the order their objects stand, and
// writes the objects newest first.
TEST_P(OracleModernFile, RepairingTheRepairedCopyKeepsEverything) {
  const fs::path& original = Packed().Document(GetParam());
  test::TempFolder first;
  test::TempFolder second;
  const EngineRepair once = RepairInto(original, first.Path());
  ASSERT_TRUE(once.repaired) << once.failure;
  ExpectCleanCopyOf(original, RepairInto(once.output, second.Path()), PageOrder::kAny);
}

// A file cut short after its last object: the final cross-reference stream and what follows are
// gone. Linearized files still name the catalog, the encryption and the /ID in the stream at
// their start; the others' catalogs are found by the scan, and their security dictionaries
// too, which from revision 5 on need no /ID. The older revisions' key went with the /ID: their
// copies stay marked encrypted, and the loss is reported.
TEST_P(OracleModernFile, CutBeforeTheLastCrossReferenceStreamKeepsEverything) {
  const fs::path& original = Packed().Document(GetParam());
  std::string bytes = test::ReadFile(original);
  const auto lastXref = bytes.rfind("/Type /XRef");
  ASSERT_NE(lastXref, std::string::npos);
  bytes.resize(bytes.rfind(" 0 obj", lastXref));
  bytes.resize(bytes.find_last_of('\n') + 1);
  test::TempFolder out;
  const bool keyLost = IsEncrypted(GetParam()) && GetParam().rfind("linearized", 0) != 0 &&
                       GetParam().rfind("aes-256", 0) != 0;
  if (keyLost) {
    test::TempFolder work;
    test::WriteFile(work / "damaged.pdf", bytes);
    const EngineRepair repair = RepairInto(work / "damaged.pdf", out.Path());
    ASSERT_TRUE(repair.repaired) << repair.failure;
    EXPECT_TRUE(repair.encryptionKeyLost);
    EXPECT_EQ(EncryptionReport(repair.output).find("not encrypted"), std::string::npos);
    return;
  }
  const EngineRepair repair = ExpectPagesAfterDamage(original, bytes, out);
  EXPECT_FALSE(repair.encryptionKeyLost);
  EXPECT_EQ(EncryptionReport(repair.output), EncryptionReport(original));
  ExpectSameObjects(original, repair.output);
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleModernFile, ::testing::ValuesIn(PackedDocuments::Kinds()),
                         [](const auto& row) {
                           std::string name = row.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace tarnwick::oracle

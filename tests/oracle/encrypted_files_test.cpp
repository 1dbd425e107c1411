// Encrypted files: the repaired copy must keep /Encrypt and /ID, without which no reader can
// derive the key that the copied strings and streams were encrypted with. Packed objects are
// read with the document's key when a password opens it, and copied as they stand when none
// does.
#include <regex>
#include <span>
#include <utility>

#include "damages.h"
#include "engine_repair.h"
#include "oracle_fixture.h"
#include "pdf_builder.h"
#include "pdf_strings.h"
#include "standard_security.h"

namespace tarnwick::oracle {
namespace {

namespace fs = std::filesystem;

using OracleEncryptedFile = OracleTest<std::string>;

TEST_P(OracleEncryptedFile, RepairedCopyStaysDecryptable) {
  const auto encrypted = Samples().Encrypted(GetParam());
  const std::string encryptedBytes = test::ReadFile(encrypted);
  test::TempFolder out;

  const EngineRepair repair = RepairInto(encrypted, out.Path());

  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_EQ(test::ReadFile(encrypted), encryptedBytes) << "the source was changed";
  const CommandResult encryption = RunShell("qpdf --show-encryption " + Quoted(repair.output));
  EXPECT_EQ(encryption.status, 0) << encryption.err;
  EXPECT_EQ(encryption.out.find("not encrypted"), std::string::npos)
      << "qpdf --show-encryption " << repair.output << "\n"
      << encryption.out;
  EXPECT_NE(encryption.out.find("R = 3"), std::string::npos) << encryption.out;
  EXPECT_NE(encryption.out.find("Supplied password is user password"), std::string::npos)
      << encryption.out;
  EXPECT_FALSE(QpdfTrailerId(encrypted).empty());
  EXPECT_EQ(QpdfTrailerId(repair.output), QpdfTrailerId(encrypted));
  const CommandResult check = QpdfCheck(repair.output);
  EXPECT_EQ(check.status, 0) << "qpdf --check " << repair.output << "\n" << check.out << check.err;
  EXPECT_EQ(PageText(repair.output), PageText(encrypted));
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleEncryptedFile,
                         ::testing::Values("ghostscript", "cairo", "qpdf"),
                         [](const auto& row) { return std::string(row.param); });


// The packed sample document encrypted by qpdf with `encryption` (its arguments up to "--").
fs::path EncryptedPacked(const fs::path& folder, const std::string& encryption) {
  const fs::path pdf = folder / "encrypted.pdf";
  const CommandResult made =
      RunShell("qpdf --allow-weak-crypto " + encryption + " -- --object-streams=generate " +
               Quoted(Samples().Document("ghostscript")) + " " + Quoted(pdf));
  if (made.status != 0) throw std::runtime_error(made.err);
  return pdf;
}

// The damage done to a file's bytes before the repair: the first match of `pattern` replaced.
std::string Damaged(std::string bytes, const std::string& pattern, const std::string& with) {
  return std::regex_replace(bytes, std::regex(pattern), with,
                            std::regex_constants::format_first_only);
}

struct LockCase {
  std::string name;
  std::string encryption;
  std::string password;  // given to the engine
  std::string pattern;   // damage, when not empty
  std::string with;
  bool opens = false;
};

using OraclePackedProtection = OracleTest<LockCase>;

TEST_P(OraclePackedProtection, PackedObjectsAreReadOnlyWithTheKeyAndNeverLost) {
  const LockCase& lock = GetParam();
  test::TempFolder work;
  const fs::path original = EncryptedPacked(work.Path(), lock.encryption);
  fs::path source = original;
  if (!lock.pattern.empty()) {
    source = work / "damaged.pdf";
    const std::string bytes = test::ReadFile(original);
    const std::string damaged = Damaged(bytes, lock.pattern, lock.with);
    ASSERT_NE(damaged, bytes) << lock.pattern;
    test::WriteFile(source, damaged);
  }
  const std::string sourceBytes = test::ReadFile(source);
  test::TempFolder out;

  const EngineRepair repair = RepairInto(source, out.Path(), lock.password);

  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_EQ(test::ReadFile(source), sourceBytes) << "the source was changed";
  EXPECT_EQ(repair.packedObjectsProtected, !lock.opens);
  ASSERT_TRUE(repair.outcome.source);
  EXPECT_EQ(repair.outcome.source->encryption,
            lock.opens ? EncryptionState::kOpened : EncryptionState::kPasswordNeeded);
  if (!lock.opens) return;
  const std::string password = " --password=" + Quoted(lock.password) + " ";
  const CommandResult check = RunShell("qpdf" + password + "--check " + Quoted(repair.output));
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_EQ(RunShell("qpdf" + password + "--show-encryption " + Quoted(repair.output)).out,
            RunShell("qpdf" + password + "--show-encryption " + Quoted(original)).out);
  const std::string text = "pdftotext -upw " + Quoted(lock.password) + " ";
  EXPECT_EQ(RunShell(text + Quoted(repair.output) + " -").out,
            RunShell(text + Quoted(original) + " -").out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OraclePackedProtection,
    ::testing::Values(
        LockCase{"user_password_given", "--encrypt secret owner 256", "secret", "", "", true},
        LockCase{"owner_password_given_rc4", "--encrypt secret owner 128 --use-aes=n", "owner",
                 "", "", true},
        LockCase{"owner_password_given_aes256", "--encrypt secret owner 256", "owner", "", "",
                 true},
        LockCase{"no_password_given", "--encrypt secret owner 256", "", "", "", false},
        LockCase{"wrong_password", "--encrypt secret owner 128 --use-aes=y", "guess", "", "",
                 false},
        LockCase{"unknown_handler", "--encrypt '' owner 128 --use-aes=y", "",
                 "/Filter /Standard", "/Filter /Standerd", false},
        LockCase{"unknown_revision", "--encrypt '' owner 128 --use-aes=y", "", "/R 4", "/R 7",
                 false},
        LockCase{"damaged_user_value", "--encrypt '' owner 128 --use-aes=y", "",
                 "/U <(0*)[1-9a-f]", "/U <$10", false},
        LockCase{"encrypt_names_no_object", "--encrypt '' owner 40", "",
                 "/Encrypt [0-9]+ 0 R", "/Encrypt 99 0 R", false}),
    [](const auto& row) { return row.param.name; });

// What every copy of an encrypted file that a password opens must be: its protection is the
// source's, and (`readersQuiet`) qpdf checks it without a warning and poppler renders it without
// an error. `password` is the user password, when it is not empty.
void ExpectCleanEncryptedCopy(const fs::path& source, const fs::path& copy,
                              bool readersQuiet = true, const std::string& password = {}) {
  const std::string qpdf = "qpdf --password=" + Quoted(password) + " ";
  EXPECT_EQ(RunShell(qpdf + "--show-encryption " + Quoted(copy)).out,
            RunShell(qpdf + "--show-encryption " + Quoted(source)).out);
  if (!readersQuiet) return;
  const CommandResult check = RunShell(qpdf + "--check " + Quoted(copy));
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_EQ((check.out + check.err).find("WARNING"), std::string::npos) << check.out << check.err;
  const CommandResult render = RunShell("pdftoppm -upw " + Quoted(password) + " -r 20 " +
                                        Quoted(copy) + " " + Quoted(copy.parent_path() / "page"));
  EXPECT_EQ(render.status, 0) << render.err;
  EXPECT_EQ(render.err.find("rror"), std::string::npos) << render.err;
}

// The text of each page, split at pdftotext's form feeds.
std::vector<std::string> PageTexts(const fs::path& pdf) {
  std::vector<std::string> pages;
  const std::string text = PageText(pdf);
  for (std::size_t from = 0, feed; (feed = text.find('\f', from)) != std::string::npos;
       from = feed + 1) {
    pages.push_back(text.substr(from, feed - from));
  }
  return pages;
}

// Damage to the first page's content stream of a file that the empty password opens: the stream
// is decrypted, mended as a plain one would be, and encrypted again under its object's key.
struct StreamDamageCase {
  std::string name;
  std::string encryption;  // qpdf's arguments after the passwords, up to "--"
  std::string damage;      // flipped, cut, head-inverted, length-short, crlf
  StreamMend mend;         // reported for the first page's content stream
};

using OracleEncryptedStream = OracleTest<StreamDamageCase>;

// Two pages of plain text: forty numbered lines on the first, so that damage inside its content
// leaves lines before it, and three on the second. qpdf compresses the content when it encrypts;
// the lines differ enough that each takes its share of the compressed data.
std::string TwoTextPages() {
  std::string first = "BT /F1 10 Tf 40 780 Td 18 TL\n";
  std::uint32_t state = 12345;
  for (int line = 1; line <= 40; ++line) {
    first += "(Line " + std::to_string(line);
    for (int word = 0; word < 6; ++word) {
      state = state * 1103515245u + 12345u;
      first += " " + std::to_string(state >> 8);
    }
    first += ") '\n";
  }
  first += "ET";
  const std::string second = "BT /F1 10 Tf 40 780 Td 18 TL\n(Second page, first line) '\n"
                             "(Second page, second line) '\n(Second page, last line) '\nET";
  test::PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /MediaBox [0 0 595 842] "
                "/Resources << /Font << /F1 5 0 R >> >> >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R >>");
  pdf.Object(4, "<< /Type /Page /Parent 2 0 R /Contents 7 0 R >>");
  pdf.Object(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  pdf.Object(6, "<< /Length " + std::to_string(first.size()) + " >>\nstream\n" + first +
                    "\nendstream");
  pdf.Object(7, "<< /Length " + std::to_string(second.size()) + " >>\nstream\n" + second +
                    "\nendstream");
  pdf.XrefTable().Trailer("/Size 8 /Root 1 0 R");
  return pdf.Bytes();
}

TEST_P(OracleEncryptedStream, IsMendedUnderItsOwnKey) {
  const StreamDamageCase& row = GetParam();
  test::TempFolder work;
  const fs::path plain = work / "plain.pdf";
  test::WriteFile(plain, TwoTextPages());
  const fs::path original = work / "original.pdf";
  std::string bytes;
  int content = 0;
  // Doubling line ends changes encrypted data only where it holds an LF byte. Another owner
  // password gives another key, so the file is made again until the first page's content holds
  // one, and no page's content a CR LF of its own.
  for (int tries = 0; tries < 32; ++tries) {
    const CommandResult made =
        RunShell("qpdf --allow-weak-crypto --encrypt '' owner" + std::to_string(tries) + " " +
                 row.encryption + " -- " + Quoted(plain) + " " +
                 Quoted(original));
    ASSERT_EQ(made.status, 0) << made.err;
    const std::vector<PageObjects> pages = QpdfPages(original);
    ASSERT_FALSE(pages.empty() || pages.front().contents.empty());
    content = pages.front().contents.front();
    bytes = test::ReadFile(original);
    if (row.damage != "crlf") break;
    auto raw = [&bytes](int number) {
      const auto header = bytes.find("\n" + std::to_string(number) + " 0 obj");
      const auto data = bytes.find("stream", header) + 7;  // after "stream" and its LF
      const auto end = bytes.find("endstream", data) - 1;  // before the LF of "endstream"
      return bytes.substr(data, end - data);
    };
    // A CR LF of the data's own would read as a doubled LF, and so would a CR that ends the
    // data before the end of line of "endstream": such data cannot be told apart.
    const bool undoable = std::all_of(pages.begin(), pages.end(), [&](const PageObjects& page) {
      return std::all_of(page.contents.begin(), page.contents.end(), [&](int number) {
        const std::string data = raw(number);
        return data.find("\r\n") == std::string::npos && !data.ends_with('\r');
      });
    });
    if (undoable && raw(content).find('\n') != std::string::npos) break;
  }
  const std::string damaged = row.damage == "flipped"        ? FlippedStreamData(bytes, content)
                              : row.damage == "cut"           ? CutStreamData(bytes, content)
                              : row.damage == "head-inverted" ? InvertedStreamStart(bytes, content)
                              : row.damage == "length-short"  ? MisstatedLength(bytes, content, -7)
                                                              : LfToCrLf(bytes);
  const fs::path source = work / "damaged.pdf";
  test::WriteFile(source, damaged);
  test::TempFolder out;

  const EngineRepair repair = RepairInto(source, out.Path());

  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_EQ(test::ReadFile(source), damaged) << "the source was changed";
  // Overwritten data decrypts to noise, which may decode to a few plausible but wrong tokens
  // (a stray operator, a number out of range) before the data stops decoding, as it may in a
  // plain file: the text before the damage is checked there, readers' complaints are not.
  ExpectCleanEncryptedCopy(original, repair.output, row.damage != "flipped");
  const MendedStream expected{content, row.mend};
  EXPECT_NE(std::find(repair.mendedStreams.begin(), repair.mendedStreams.end(), expected),
            repair.mendedStreams.end());
  const std::vector<std::string> before = PageTexts(original);
  const std::vector<std::string> after = PageTexts(repair.output);
  ASSERT_EQ(after.size(), before.size());
  ASSERT_FALSE(before.front().empty());
  EXPECT_TRUE(std::equal(after.begin() + 1, after.end(), before.begin() + 1));
  if (row.mend == StreamMend::kContentCut) {
    // What decoded before the damage is kept: some of the first page's lines, in their order.
    EXPECT_FALSE(after.front().empty());
    EXPECT_EQ(before.front().find(after.front().substr(0, after.front().find('\n'))), 0u)
        << after.front();
  } else if (row.mend == StreamMend::kContentEmptied) {
    EXPECT_EQ(after.front().find_first_not_of(" \n"), std::string::npos) << after.front();
    // Empty content is still compressed data, and encrypted: qpdf decrypts it to the bytes
    // that inflate to nothing.
    const std::string object = "qpdf --show-object=" + std::to_string(content);
    const CommandResult raw = RunShell(object + " --raw-stream-data " + Quoted(repair.output));
    const CommandResult plainData =
        RunShell(object + " --filtered-stream-data " + Quoted(repair.output));
    EXPECT_EQ(raw.status, 0) << raw.err;
    EXPECT_FALSE(raw.out.empty());
    EXPECT_EQ(plainData.status, 0) << plainData.err;
    EXPECT_EQ(plainData.out, "");
  } else {
    EXPECT_EQ(after.front(), before.front());
  }
}

// Each damage under RC4 (revision 3), AES-128 (revision 4) and AES-256 (revision 6).
std::vector<StreamDamageCase> StreamDamageCases() {
  const std::pair<std::string, std::string> encryptions[] = {
      {"rc4", "128 --use-aes=n"},
      {"aes128", "128 --use-aes=y"},
      {"aes256", "256"},
  };
  const std::pair<std::string, StreamMend> damages[] = {
      {"flipped", StreamMend::kContentCut},
      {"cut", StreamMend::kContentCut},
      {"head-inverted", StreamMend::kContentEmptied},
      {"length-short", StreamMend::kTrueLength},
      {"crlf", StreamMend::kLineEndsUndone},
  };
  std::vector<StreamDamageCase> cases;
  for (const auto& [cipher, encryption] : encryptions) {
    for (const auto& [damage, mend] : damages) {
      std::string name = cipher + "_" + damage;
      std::replace(name.begin(), name.end(), '-', '_');
      cases.push_back({name, encryption, damage, mend});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Damages, OracleEncryptedStream, ::testing::ValuesIn(StreamDamageCases()),
                         [](const auto& row) { return row.param.name; });

// A page's lost form XObject becomes an empty form; in an encrypted copy its data is encrypted
// too, which under AES takes an initialisation vector and a block of padding. Where no password
// opened the source, the form names the Identity crypt filter (from version 4 on) and stands
// unencrypted, or is empty under RC4.
struct ReplacementCase {
  std::string name;
  std::string encryption;
  std::size_t dataLength;     // of the empty form's encrypted data
  std::string password = {};  // the user password, which the repair is not given
  bool identity = false;      // whether the form names the Identity crypt filter
};

using OracleEncryptedReplacement = OracleTest<ReplacementCase>;

TEST_P(OracleEncryptedReplacement, EmptyFormIsValidCiphertext) {
  test::PdfBuilder pdf;
  const std::string text = "BT /F1 12 Tf 20 100 Td (Form page text) Tj ET /X1 Do";
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << /Font << "
                "/F1 5 0 R >> /XObject << /X1 6 0 R >> >> /Contents 4 0 R >>");
  pdf.Object(4, "<< /Length " + std::to_string(text.size()) + " >>\nstream\n" + text +
                    "\nendstream");
  pdf.Object(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  pdf.Object(6, "<< /Type /XObject /Subtype /Form /BBox [0 0 50 50] /Length 11 >>\nstream\n"
                "0 0 m 9 9 l\nendstream");
  pdf.XrefTable().Trailer("/Size 7 /Root 1 0 R");
  test::TempFolder work;
  test::WriteFile(work / "plain.pdf", pdf.Bytes());
  const fs::path original = work / "original.pdf";
  ASSERT_EQ(RunShell("qpdf --allow-weak-crypto " + GetParam().encryption + " -- " +
                     Quoted(work / "plain.pdf") + " " + Quoted(original))
                .status,
            0);
  // The form's header is lost; the page still names it.
  const std::string damaged = Damaged(test::ReadFile(original), "\n6 0 obj", "\n6 0 obx");
  const fs::path source = work / "damaged.pdf";
  test::WriteFile(source, damaged);
  test::TempFolder out;

  const EngineRepair repair = RepairInto(source, out.Path());

  ASSERT_TRUE(repair.repaired) << repair.failure;
  ASSERT_EQ(repair.mendedObjects.size(), 1u);
  EXPECT_EQ(repair.mendedObjects.front().kind, ObjectMendKind::kXObjectReplaced);
  const ReplacementCase& row = GetParam();
  ExpectCleanEncryptedCopy(original, repair.output, true, row.password);
  const std::string pdftotext = "pdftotext -upw " + Quoted(row.password) + " ";
  EXPECT_EQ(RunShell(pdftotext + Quoted(repair.output) + " -").out,
            RunShell(pdftotext + Quoted(original) + " -").out);
  const std::string copy = test::ReadFile(repair.output);
  std::smatch form;
  ASSERT_TRUE(std::regex_search(
      copy, form,
      std::regex(R"(\n(\d+) 0 obj\n<< /Type /XObject /Subtype /Form /BBox \[0 0 0 0\] )"
                 R"((/Filter /Crypt /DecodeParms << /Name /Identity >> )?/Length (\d+) >>)")));
  EXPECT_EQ(form[2].matched, row.identity);
  EXPECT_EQ(std::stoul(form.str(3)), row.dataLength);
  const CommandResult data =
      RunShell("qpdf --password=" + Quoted(row.password) + " --show-object=" + form.str(1) +
               " --filtered-stream-data " + Quoted(repair.output));
  EXPECT_EQ(data.status, 0) << data.err;
  EXPECT_EQ(data.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Ciphers, OracleEncryptedReplacement,
    ::testing::Values(ReplacementCase{"rc4", "--encrypt '' owner 128 --use-aes=n", 0},
                      ReplacementCase{"aes128", "--encrypt '' owner 128 --use-aes=y", 32},
                      ReplacementCase{"aes256", "--encrypt '' owner 256", 32},
                      ReplacementCase{"rc4_locked", "--encrypt user owner 128 --use-aes=n", 0,
                                      "user"},
                      ReplacementCase{"aes128_locked", "--encrypt user owner 128 --use-aes=y", 0,
                                      "user", true},
                      ReplacementCase{"aes256_locked", "--encrypt user owner 256", 0, "user",
                                      true}),
    [](const auto& row) { return row.param.name; });

// An encrypted file cut before its cross-reference table and trailer, which named /Encrypt and
// held /ID, keeps its security dictionary as an object. From revision 5 on the key needs no /ID:
// the copy names the dictionary with a new /ID and opens. Before, the key is lost with the /ID:
// the copy is still marked encrypted, never plain with encrypted data, and the loss reported.
// Without mending the copy is what it always was.
struct LostTrailerCase {
  std::string name;
  std::string encryption;
  bool keyLost;
  // The plain document cut so, holding the security dictionary of its encrypted copy as an
  // object that protects nothing (as a tool that decrypted the file may leave it): the copy
  // stays plain.
  bool leftover = false;
};

using OracleLostTrailer = OracleTest<LostTrailerCase>;

TEST_P(OracleLostTrailer, CopyKeepsTheProtection) {
  const LostTrailerCase& row = GetParam();
  test::TempFolder work;
  const fs::path& document = Samples().Document("qpdf");
  const fs::path encrypted = work / "encrypted.pdf";
  ASSERT_EQ(RunShell("qpdf --allow-weak-crypto " + row.encryption + " -- " + Quoted(document) +
                     " " + Quoted(encrypted))
                .status,
            0);
  const fs::path original = row.leftover ? document : encrypted;
  const std::string bytes = test::ReadFile(original);
  const auto xref = bytes.rfind("\nxref");
  ASSERT_NE(xref, std::string::npos);
  std::string cut = bytes.substr(0, xref + 1);
  if (row.leftover) {
    const std::string encryptedBytes = test::ReadFile(encrypted);
    const auto handler = encryptedBytes.find("/Filter /Standard");
    ASSERT_NE(handler, std::string::npos);
    const auto begin = encryptedBytes.rfind(" 0 obj\n", handler) + 7;
    const auto end = encryptedBytes.find("endobj\n", handler) + 7;
    cut += "99 0 obj\n" + encryptedBytes.substr(begin, end - begin);
  }
  const fs::path source = work / "cut.pdf";
  test::WriteFile(source, cut);
  test::TempFolder out;
  test::TempFolder unmended;

  const EngineRepair repair = RepairInto(source, out.Path());
  const EngineRepair plain = RepairInto(source, unmended.Path(), {}, false);

  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_EQ(repair.encryptionKeyLost, row.keyLost);
  ASSERT_TRUE(repair.outcome.source);
  EXPECT_EQ(repair.outcome.source->encryption == EncryptionState::kKeyLost, row.keyLost);
  const std::string shown = RunShell("qpdf --show-encryption " + Quoted(repair.output)).out;
  if (row.leftover) {
    EXPECT_NE(shown.find("not encrypted"), std::string::npos) << shown;
    EXPECT_EQ(QpdfCheck(repair.output).status, 0);
    EXPECT_EQ(PageText(repair.output), PageText(original));
  } else if (row.keyLost) {
    // qpdf finds the copy's security dictionary, whose revision it shows, and no password.
    EXPECT_NE(shown.find("Incorrect password supplied"), std::string::npos) << shown;
    EXPECT_NE(shown.find("R = " + row.name.substr(1, 1) + "\n"), std::string::npos) << shown;
  } else {
    ExpectCleanEncryptedCopy(original, repair.output);
    EXPECT_EQ(PageText(repair.output), PageText(original));
    // Two equal strings of sixteen bytes, none of them the lost ones.
    const std::string id = QpdfTrailerId(repair.output);
    EXPECT_TRUE(std::regex_match(id, std::regex(R"(.*<([0-9a-f]{32})> <\1>.*)"))) << id;
    EXPECT_NE(id, QpdfTrailerId(original));
  }
  ASSERT_TRUE(plain.repaired) << plain.failure;
  EXPECT_FALSE(plain.encryptionKeyLost);
  EXPECT_NE(RunShell("qpdf --show-encryption " + Quoted(plain.output)).out.find("not encrypted"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, OracleLostTrailer,
    ::testing::Values(LostTrailerCase{"r2_rc4_40", "--encrypt '' owner 40", true},
                      LostTrailerCase{"r3_rc4_128", "--encrypt '' owner 128 --use-aes=n", true},
                      LostTrailerCase{"r4_aes_128", "--encrypt '' owner 128 --use-aes=y", true},
                      LostTrailerCase{"r5_aes_256", "--encrypt '' owner 256 --force-R5", false},
                      LostTrailerCase{"r6_aes_256", "--encrypt '' owner 256", false},
                      LostTrailerCase{"r6_left_in_a_plain_file", "--encrypt '' owner 256", false,
                                      true},
                      LostTrailerCase{"r3_left_in_a_plain_file",
                                      "--encrypt '' owner 128 --use-aes=n", false, true}),
    [](const auto& row) { return row.param.name; });

// The key the engine derives from a password, judged by what it decrypts: the first object
// stream of the file (always encrypted, unlike metadata that may be left plain), against the
// data qpdf decrypts from it with the same password.
struct KeyCase {
  std::string name;
  std::string encryption;
  std::string password;
};

// The number of the first object stream in `bytes` and its data as stored; a number of -1 when
// there is none with a direct /Length.
std::pair<std::int64_t, std::string> FirstObjectStream(const std::string& bytes) {
  for (auto type = bytes.find("/Type /ObjStm"); type != std::string::npos;
       type = bytes.find("/Type /ObjStm", type + 1)) {
    const auto object = bytes.rfind(" 0 obj", type);
    const auto length = bytes.find("/Length ", object);
    const auto data = bytes.find("stream", type);
    if (object == std::string::npos || length == std::string::npos || data == std::string::npos) {
      continue;
    }
    const auto numberStart = bytes.find_last_not_of("0123456789", object - 1) + 1;
    const std::size_t size = std::stoul(bytes.substr(length + 8, 12));
    const std::size_t start = data + (bytes[data + 6] == '\r' ? 8 : 7);
    return {std::stoll(bytes.substr(numberStart, object - numberStart)), bytes.substr(start, size)};
  }
  return {-1, ""};
}

// Reads the /Encrypt dictionary (qpdf writes it as a plain object) and the first /ID string
// with the engine's own syntax reader, unlocks with `password`, and decrypts object `number`'s
// stored `data`.
std::string EngineDecrypts(const fs::path& pdf, const std::string& password, std::int64_t number,
                           const std::string& data) {
  const std::string bytes = test::ReadFile(pdf);
  const std::span<const std::uint8_t> span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                           bytes.size());
  SourceReader reader(span);
  PdfSyntax syntax(reader, reader.Length());
  const auto handler = bytes.find("/Filter /Standard");
  const auto dictionary =
      syntax.ReadDictionary(static_cast<std::int64_t>(bytes.rfind("obj", handler) + 3));
  if (handler == std::string::npos || !dictionary) return "no dictionary";
  const auto encryption = ReadEncryptionDictionary(syntax, reader, *dictionary);
  if (!encryption) return "not the standard handler";
  const auto id = syntax.ReadArray(static_cast<std::int64_t>(bytes.find("/ID [") + 3));
  if (!id || id->empty()) return "no /ID";
  const PdfValue& first = id->front();
  const auto firstId = StringBytes(span.subspan(static_cast<std::size_t>(first.begin),
                                                static_cast<std::size_t>(first.end - first.begin)));
  const auto security = StandardSecurity::Unlock(*encryption, firstId, password);
  if (!security) return "not unlocked";
  const auto plain = security->DecryptStream(
      number, 0, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
  return plain ? std::string(plain->begin(), plain->end()) : "not decrypted";
}

using OracleFileKey = OracleTest<KeyCase>;

TEST_P(OracleFileKey, DecryptsAStreamAsQpdfDoes) {
  test::TempFolder work;
  const fs::path pdf = EncryptedPacked(work.Path(), GetParam().encryption);
  const auto [number, stored] = FirstObjectStream(test::ReadFile(pdf));
  ASSERT_GE(number, 0) << "no object stream in " << pdf;
  const CommandResult shown =
      RunShell("qpdf --show-object=" + std::to_string(number) +
               " --raw-stream-data --password=" + Quoted(GetParam().password) + " " + Quoted(pdf));
  ASSERT_EQ(shown.status, 0) << shown.err;
  ASSERT_FALSE(shown.out.empty());
  EXPECT_EQ(EngineDecrypts(pdf, GetParam().password, number, stored), shown.out);
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, OracleFileKey,
    ::testing::Values(KeyCase{"r2_rc4_40", "--encrypt '' owner 40", ""},
                      KeyCase{"r3_rc4_128", "--encrypt '' owner 128 --use-aes=n", ""},
                      KeyCase{"r3_owner_password", "--encrypt user owner 128 --use-aes=n",
                              "owner"},
                      KeyCase{"r4_aes_128", "--encrypt '' owner 128 --use-aes=y", ""},
                      KeyCase{"r4_clear_metadata",
                              "--encrypt '' owner 128 --use-aes=y --cleartext-metadata", ""},
                      KeyCase{"r5_aes_256", "--encrypt '' owner 256 --force-R5", ""},
                      KeyCase{"r5_owner_password", "--encrypt user owner 256 --force-R5",
                              "owner"},
                      KeyCase{"r6_aes_256", "--encrypt '' owner 256", ""},
                      KeyCase{"r6_user_password", "--encrypt user owner 256", "user"},
                      KeyCase{"r6_owner_password", "--encrypt user owner 256", "owner"}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace tarnwick::oracle

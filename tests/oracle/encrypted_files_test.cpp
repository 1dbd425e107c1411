// Encrypted files: the repaired copy must keep /Encrypt and /ID, without which no reader can
// derive the key that the copied strings and streams were encrypted with. Packed objects are
// read with the document's key when a password opens it, and copied as they stand when none
// does.
#include <regex>
#include <span>

#include "engine_repair.h"
#include "oracle_fixture.h"
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

// The file key the engine derives, against the one qpdf shows for the same file and password.
struct KeyCase {
  std::string name;
  std::string encryption;
  std::string password;
};

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint8_t b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

// Reads the /Encrypt dictionary (qpdf writes it as a plain object) and the first /ID string
// with the engine's own syntax reader, and unlocks with `password`.
std::string EngineFileKey(const fs::path& pdf, const std::string& password) {
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
  return security ? Hex(security->FileKey()) : "not unlocked";
}

using OracleFileKey = OracleTest<KeyCase>;

TEST_P(OracleFileKey, DerivedKeyIsTheOneQpdfShows) {
  test::TempFolder work;
  const fs::path pdf = EncryptedPacked(work.Path(), GetParam().encryption);
  const CommandResult shown =
      RunShell("qpdf --show-encryption-key --show-encryption --password=" +
               Quoted(GetParam().password) + " " + Quoted(pdf));
  std::smatch key;
  ASSERT_TRUE(std::regex_search(shown.out, key, std::regex("Encryption key = ([0-9a-f]+)")))
      << shown.out << shown.err;
  EXPECT_EQ(EngineFileKey(pdf, GetParam().password), key.str(1));
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

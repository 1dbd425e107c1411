// Encrypted files: the repaired copy must keep /Encrypt and /ID, without which no reader can
// derive the key that the copied strings and streams were encrypted with.
#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

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
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace tarnwick::oracle

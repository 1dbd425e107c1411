// What only Linux programs can check: qpdf encrypts sources and checks the copies, `script`
// gives the tool a terminal, and the private folder's mode is a POSIX file mode.
#include <gtest/gtest.h>

#include <filesystem>

#include "oracle_tools.h"
#include "repair_tool.h"
#include "system_environment.h"

namespace tarnwick::cli_test {
namespace {

namespace fs = std::filesystem;

// A file whose packed objects (its pages among them) only a password opens: the tool warns by
// name when none given opens it, and the copy without a page ends with 1; it tries the password
// given, and never shows it.
TEST(CliOptions, PasswordsOpenPackedObjectsAndAFileNoneOpensIsNamedInAWarning) {
  test::TempFolder tmp;
  const auto plain = tmp / "plain.pdf";
  const auto locked = tmp / "locked.pdf";
  test::WriteFile(plain, TextPdf("locked", 2));
  ASSERT_EQ(oracle::RunShell("qpdf --encrypt s3cret 0wner 256 -- --object-streams=generate " +
                             oracle::Quoted(plain) + " " + oracle::Quoted(locked))
                .status,
            0);
  test::WriteFile(tmp / "owner.txt", "0wner\n");
  struct Run {
    std::vector<std::string> options;
    int status;
    bool warned;
  };
  const std::vector<Run> runs = {
      {{}, 1, true},
      {{"--password=guess"}, 1, true},
      {{"--password", "s3cret"}, 0, false},
      {{"--password-file=" + (tmp / "owner.txt").string()}, 0, false},
      {{"--password-file", (tmp / "missing.txt").string()}, 1, false},
  };
  for (const Run& expected : runs) {
    std::vector<std::string> arguments = {"--overwrite", "-o", tmp / "out"};
    arguments.insert(arguments.end(), expected.options.begin(), expected.options.end());
    arguments.push_back(locked);
    const CommandResult run = RunRepairTool(arguments, tmp.Path());
    const std::string shown = expected.options.empty() ? "no password" : expected.options[0];
    EXPECT_EQ(run.status, expected.status) << shown << ": " << run.err;
    EXPECT_EQ(run.err.find(locked.string() + ": warning:") != std::string::npos, expected.warned)
        << shown << ": " << run.err;
    for (const std::string secret : {"s3cret", "0wner", "guess"}) {
      EXPECT_EQ(run.err.find(secret), std::string::npos) << shown << ": " << run.err;
    }
  }
}

// An encrypted file cut before its cross-reference table and trailer: from revision 5 on the
// copy opens, before it the key went with the lost /ID, and the tool names the file in a
// warning. Without mending the copy is made as it always was, without the warning.
TEST(CliOutput, AnEncryptedFileWhoseKeyWasLostWithItsTrailerIsNamedInAWarning) {
  test::TempFolder tmp;
  const auto plain = tmp / "plain.pdf";
  test::WriteFile(plain, TextPdf("cut", 2));
  struct Run {
    std::string encryption;
    std::vector<std::string> options;
    bool warned;
  };
  const std::vector<Run> runs = {
      {"128 --use-aes=n", {}, true},
      {"128 --use-aes=y", {}, true},
      {"256", {}, false},
      {"128 --use-aes=n", {"--no-mend"}, false},
  };
  for (const Run& expected : runs) {
    const auto locked = tmp / "locked.pdf";
    const auto cut = tmp / "cut.pdf";
    ASSERT_EQ(oracle::RunShell("qpdf --allow-weak-crypto --encrypt '' owner " +
                               expected.encryption + " -- --object-streams=disable " +
                               oracle::Quoted(plain) + " " + oracle::Quoted(locked))
                  .status,
              0);
    const std::string bytes = test::ReadFile(locked);
    ASSERT_NE(bytes.rfind("\nxref"), std::string::npos);
    test::WriteFile(cut, bytes.substr(0, bytes.rfind("\nxref") + 1));
    std::vector<std::string> arguments = {"--overwrite", "-o", tmp / "out"};
    arguments.insert(arguments.end(), expected.options.begin(), expected.options.end());
    arguments.push_back(cut);
    const CommandResult run = RunRepairTool(arguments, tmp.Path());
    const std::string shown = expected.encryption + (expected.options.empty() ? "" : " --no-mend");
    EXPECT_EQ(run.status, 0) << shown << ": " << run.err;
    EXPECT_EQ(run.err.find(cut.string() + ": warning: the file is encrypted and its trailer was "
                                          "lost") != std::string::npos,
              expected.warned)
        << shown << ": " << run.err;
  }
}

// A content stream whose /Length is wrong is mended either way; --verbose says which.
TEST(CliOptions, VerboseListsTheStreamsMendedInEachFile) {
  test::TempFolder tmp;
  const auto pdf = tmp / "lengths.pdf";
  std::string bytes = TextPdf("lengths", 1);
  const auto length = bytes.find("/Length ") + 8;
  bytes.replace(length, bytes.find(' ', length) - length, "3");
  test::WriteFile(pdf, bytes);
  for (const bool verbose : {false, true}) {
    std::vector<std::string> arguments = {"--overwrite", "-o", tmp / "out", pdf};
    if (verbose) arguments.insert(arguments.begin(), "--verbose");
    const CommandResult run = RunRepairTool(arguments, tmp.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    const bool listed = run.err.find(pdf.string() + ": stream object ") != std::string::npos &&
                        run.err.find("its /Length was wrong") != std::string::npos;
    EXPECT_EQ(listed, verbose) << run.err;
    const CommandResult check = oracle::QpdfCheck(tmp / "out" / "lengths.pdf");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
}

// On a terminal (here the one `script` gives it) each file's bar is drawn, and a finished file's
// ends full even where the copy's last report fell short of it.
TEST(CliOutput, OnATerminalAFinishedFilesBarEndsFull) {
  test::TempFolder tmp;
  test::WriteFile(tmp / "a.pdf", TextPdf("bar", 3));
  const std::string tool = "TMPDIR=" + oracle::Quoted(tmp.Path()) + " " +
                           oracle::Quoted(TARNWICK_REPAIR_BINARY) + " -o " +
                           oracle::Quoted((tmp / "out").string()) + " " +
                           oracle::Quoted((tmp / "a.pdf").string());
  const CommandResult run =
      oracle::RunShell("script -qec " + oracle::Quoted(tool) + " /dev/null < /dev/null");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("[##############################] 100% ( Step 2 / 2 )"), std::string::npos)
      << run.out;
}

TEST(CliOutput, ThePrivateTemporaryFolderIsTheUsersAlone) {
  test::TempFolder tmp;
  test::WriteFile(tmp / "report.pdf", TextPdf("report", 1));
  ASSERT_EQ(RunRepairTool({tmp / "report.pdf"}, tmp.Path()).status, 0);
  const fs::path privateFolder = test::PrivateFolderIn(tmp.Path());
  EXPECT_EQ(fs::status(privateFolder).permissions() & fs::perms::all, fs::perms::owner_all);
}

}  // namespace
}  // namespace tarnwick::cli_test

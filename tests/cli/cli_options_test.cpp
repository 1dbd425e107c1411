// The tool's options, exit statuses and messages.
#include <gtest/gtest.h>

#include "repair_tool.h"

namespace tarnwick::cli_test {
namespace {


TEST(CliOptions, HelpPrintsUsageOnStandardOutput) {
  test::TempFolder tmp;
  for (const std::string option : {"--help", "-h"}) {
    const CommandResult run = RunRepairTool({option}, tmp.Path());
    EXPECT_EQ(run.status, 0) << option;
    EXPECT_EQ(run.out.rfind("Usage: tarnwick-repair", 0), 0u) << option << ": " << run.out;
    EXPECT_NE(run.out.find("--overwrite"), std::string::npos);
    EXPECT_EQ(run.err, "") << option;
  }
}

TEST(CliOptions, VersionPrintsNameAndProjectVersion) {
  test::TempFolder tmp;
  const CommandResult run = RunRepairTool({"--version"}, tmp.Path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("tarnwick-repair ") + TARNWICK_EXPECTED_VERSION + "\n");
}

TEST(CliOptions, UsageErrorsExitTwoWithAHintOnStandardErrorAndRepairNothing) {
  test::TempFolder tmp;
  const auto pdf = tmp / "a.pdf";
  test::WriteFile(pdf, TextPdf("usage", 1));
  const auto out = tmp / "out";
  const std::vector<std::vector<std::string>> mistakes = {
      {},
      {"--bogus", pdf},
      {"-j", "0", pdf},
      {"-j", "many", pdf},
      {"--jobs=257", pdf},
      {"-o", "", pdf},
      {pdf, "-o"},
      {"-o", out},
      {pdf, "--password"},
      {"--password=a", "--password-file=b", pdf},
  };
  for (const auto& arguments : mistakes) {
    std::string shown;
    for (const auto& argument : arguments) shown += " [" + argument + "]";
    const CommandResult run = RunRepairTool(arguments, tmp.Path());
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    // One line for the mistake and one hint, not the whole help.
    const std::vector<std::string> lines = Lines(run.err);
    ASSERT_EQ(lines.size(), 2u) << shown << ": " << run.err;
    EXPECT_TRUE(lines[0].starts_with("tarnwick-repair: ")) << shown << ": " << run.err;
    EXPECT_EQ(lines[1], "Try 'tarnwick-repair --help' for more information.") << shown;
  }
  EXPECT_FALSE(std::filesystem::exists(out / "a.pdf"));
  EXPECT_FALSE(std::filesystem::exists(tmp / ("tarnwick-" + std::to_string(::getuid()))));
}

TEST(CliOptions, MissingFileExitsOneAndNamesItOnceOnStandardError) {
  test::TempFolder tmp;
  const auto missing = tmp / "no such file.pdf";
  const CommandResult run = RunRepairTool({"-o", tmp.Path(), missing}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tarnwick-repair: " + missing.string() + ": No such file or directory\n");
}

// A file from which no page could be recovered still gets its copy, but not a clean exit.
TEST(CliOptions, ACopyWithoutAnyPageIsWrittenWithAWarningAndExitsOne) {
  test::TempFolder tmp;
  const auto text = tmp / "notes.pdf";
  test::WriteFile(text, "Meeting notes, not a PDF at all.\n");
  const CommandResult run = RunRepairTool({"-o", tmp / "out", text}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, (tmp / "out" / "notes.pdf").string() + "\n");
  EXPECT_EQ(run.err, "tarnwick-repair: " + text.string() +
                         ": warning: no page could be recovered from this file\n");
}

TEST(CliOptions, FilesAfterAMissingOneAreStillRepairedAndListedInOrder) {
  test::TempFolder tmp;
  const auto out = tmp / "out";
  std::filesystem::create_directory(out);
  test::WriteFile(tmp / "first.pdf", TextPdf("first", 2));
  test::WriteFile(tmp / "last.pdf", TextPdf("last", 1));
  const CommandResult run = RunRepairTool(
      {"-o", out, tmp / "first.pdf", tmp / "missing.pdf", tmp / "last.pdf"}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{out / "first.pdf", out / "last.pdf"}));
  EXPECT_NE(run.err.find("missing.pdf"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("first.pdf"), std::string::npos) << run.err;
}

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

}  // namespace
}  // namespace tarnwick::cli_test

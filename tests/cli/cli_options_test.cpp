// The tool's options, exit statuses and messages.
#include <gtest/gtest.h>

#include "repair_tool.h"
#include "system_environment.h"
#include "system_test_name.h"

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
  const std::string pdf = tmp.File("a.pdf");
  test::WriteFile(pdf, TextPdf("usage", 1));
  const std::string out = tmp.File("out");
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
      {"--check", "-o", out, pdf},
      {pdf, "--report"},
      {"--report=", pdf},
      {"--report=" + pdf, pdf},
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
  EXPECT_FALSE(std::filesystem::exists(tmp / "out" / "a.pdf"));
  EXPECT_EQ(test::ReadFile(pdf), TextPdf("usage", 1));
  EXPECT_FALSE(std::filesystem::exists(test::PrivateFolderIn(tmp.Path())));
}

TEST(CliOptions, ON_THIS_SYSTEM(MissingFileExitsOneAndNamesItOnceWithTheSystemsReason)) {
  test::TempFolder tmp;
  const std::string missing = tmp.File("no such file.pdf");
  const CommandResult run = RunRepairTool({"-o", tmp.Path(), missing}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tarnwick-repair: " + missing + ": " + test::MissingFileText() + "\n");
}

// A file from which no page could be recovered still gets its copy, but not a clean exit.
TEST(CliOptions, ACopyWithoutAnyPageIsWrittenWithAWarningAndExitsOne) {
  test::TempFolder tmp;
  const std::string text = tmp.File("notes.pdf");
  test::WriteFile(text, "Meeting notes, not a PDF at all.\n");
  const CommandResult run = RunRepairTool({"-o", tmp.File("out"), text}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, (tmp / "out" / "notes.pdf").string() + "\n");
  EXPECT_EQ(run.err, "tarnwick-repair: " + text +
                         ": warning: no page could be recovered from this file\n");
}

TEST(CliOptions, FilesAfterAMissingOneAreStillRepairedAndListedInOrder) {
  test::TempFolder tmp;
  const std::filesystem::path out = tmp / "out";
  std::filesystem::create_directory(out);
  test::WriteFile(tmp.File("first.pdf"), TextPdf("first", 2));
  test::WriteFile(tmp.File("last.pdf"), TextPdf("last", 1));
  const CommandResult run = RunRepairTool({"-o", out.string(), tmp.File("first.pdf"),
                                           tmp.File("missing.pdf"), tmp.File("last.pdf")},
                                          tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{(out / "first.pdf").string(),
                                                      (out / "last.pdf").string()}));
  EXPECT_NE(run.err.find("missing.pdf"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("first.pdf"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tarnwick::cli_test

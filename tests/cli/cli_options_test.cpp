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

TEST(CliOptions, UsageErrorsExitTwoWithUsageOnStandardErrorAndRepairNothing) {
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
  };
  for (const auto& arguments : mistakes) {
    std::string shown;
    for (const auto& argument : arguments) shown += " [" + argument + "]";
    const CommandResult run = RunRepairTool(arguments, tmp.Path());
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_NE(run.err.find("Usage: tarnwick-repair"), std::string::npos)
        << shown << ": " << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out / "a.pdf"));
  EXPECT_FALSE(std::filesystem::exists(tmp / ("tarnwick-" + std::to_string(::getuid()))));
}

TEST(CliOptions, MissingFileExitsOneAndNamesItOnStandardError) {
  test::TempFolder tmp;
  const auto missing = tmp / "no such file.pdf";
  const CommandResult run = RunRepairTool({"-o", tmp.Path(), missing}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(missing.string()), std::string::npos) << run.err;
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

}  // namespace
}  // namespace tarnwick::cli_test

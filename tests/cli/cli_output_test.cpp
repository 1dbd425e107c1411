// Where the repaired copies go, and when an existing file may be replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <set>

#include "repair_tool.h"

namespace tarnwick::cli_test {
namespace {

namespace fs = std::filesystem;

// Work folder names ("hour-minute-second-day-month-year", no leading zeros) of every second
// from `from` to `to`.
std::set<std::string> WorkFolderNames(std::time_t from, std::time_t to) {
  std::set<std::string> names;
  for (std::time_t t = from; t <= to; ++t) {
    std::tm parts{};
    localtime_r(&t, &parts);
    names.insert(std::to_string(parts.tm_hour) + "-" + std::to_string(parts.tm_min) + "-" +
                 std::to_string(parts.tm_sec) + "-" + std::to_string(parts.tm_mday) + "-" +
                 std::to_string(parts.tm_mon + 1) + "-" + std::to_string(parts.tm_year + 1900));
  }
  return names;
}

TEST(CliOutput, OutputFolderReceivesEachCopyUnderItsSourceNameInTheOrderGiven) {
  test::TempFolder tmp;
  const auto out = tmp / "out";
  fs::create_directory(out);
  test::WriteFile(tmp / "b.pdf", TextPdf("b", 3));
  test::WriteFile(tmp / "a.pdf", TextPdf("a", 1));

  const CommandResult run = RunRepairTool({"-o", out, tmp / "b.pdf", tmp / "a.pdf"}, tmp.Path());

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{out / "b.pdf", out / "a.pdf"}));
  EXPECT_EQ(test::ReadFile(out / "a.pdf").rfind("%PDF-1.4", 0), 0u);
  EXPECT_NE(test::ReadFile(out / "b.pdf"), test::ReadFile(out / "a.pdf"));
}

TEST(CliOutput, MissingOutputFolderIsCreatedAndAFileInItsPlaceIsRefused) {
  test::TempFolder tmp;
  const auto source = tmp / "doc.pdf";
  test::WriteFile(source, TextPdf("doc", 1));
  const auto nested = tmp / "new" / "deeper";

  const CommandResult created = RunRepairTool({"-o", nested, source}, tmp.Path());
  EXPECT_EQ(created.status, 0) << created.err;
  EXPECT_EQ(Lines(created.out), std::vector<std::string>{nested / "doc.pdf"});
  EXPECT_TRUE(fs::is_regular_file(nested / "doc.pdf"));

  const auto notAFolder = tmp / "plain-file";
  test::WriteFile(notAFolder, "not a folder");
  const CommandResult refused = RunRepairTool({"-o", notAFolder, source}, tmp.Path());
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find(notAFolder.string()), std::string::npos) << refused.err;
  EXPECT_EQ(test::ReadFile(notAFolder), "not a folder");
}

TEST(CliOutput, WithoutOutputFolderTheCopyGoesToATimedFolderInThePrivateTemporaryFolder) {
  test::TempFolder tmp;
  const auto source = tmp / "input" / "report.pdf";
  fs::create_directory(tmp / "input");
  test::WriteFile(source, TextPdf("report", 2));

  const std::time_t before = std::time(nullptr);
  const CommandResult run = RunRepairTool({source}, tmp.Path());
  const std::time_t after = std::time(nullptr);

  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u) << run.out;
  const fs::path copy = lines[0];
  const fs::path privateFolder = tmp / ("tarnwick-" + std::to_string(::getuid()));
  EXPECT_EQ(copy.filename(), "report.pdf");
  EXPECT_EQ(copy.parent_path().parent_path(), privateFolder);
  EXPECT_TRUE(WorkFolderNames(before, after).contains(copy.parent_path().filename()))
      << copy.parent_path().filename();
  EXPECT_EQ(fs::status(privateFolder).permissions() & fs::perms::all, fs::perms::owner_all);

  // The same engine writes the same bytes wherever the copy goes.
  const auto out = tmp / "out";
  fs::create_directory(out);
  ASSERT_EQ(RunRepairTool({"-o", out, source}, tmp.Path()).status, 0);
  EXPECT_EQ(test::ReadFile(copy), test::ReadFile(out / "report.pdf"));
}

TEST(CliOutput, ExistingOutputIsKeptWithoutOverwriteAndReplacedWithIt) {
  test::TempFolder tmp;
  const auto out = tmp / "out";
  const auto fresh = tmp / "fresh";
  fs::create_directory(out);
  fs::create_directory(fresh);
  const auto source = tmp / "doc.pdf";
  test::WriteFile(source, TextPdf("doc", 2));
  const std::string earlier = "an earlier file of the same name";
  test::WriteFile(out / "doc.pdf", earlier);

  const CommandResult kept = RunRepairTool({"-o", out, source}, tmp.Path());
  EXPECT_EQ(kept.status, 1);
  EXPECT_EQ(kept.out, "");
  EXPECT_NE(kept.err.find("doc.pdf"), std::string::npos) << kept.err;
  EXPECT_EQ(test::ReadFile(out / "doc.pdf"), earlier);

  const CommandResult replaced = RunRepairTool({"-o", out, "--overwrite", source}, tmp.Path());
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(Lines(replaced.out), std::vector<std::string>{out / "doc.pdf"});
  ASSERT_EQ(RunRepairTool({"-o", fresh, source}, tmp.Path()).status, 0);
  EXPECT_EQ(test::ReadFile(out / "doc.pdf"), test::ReadFile(fresh / "doc.pdf"));
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

TEST(CliOutput, RepairIntoTheSourcesOwnFolderIsRefusedAndLeavesTheOriginalAlone) {
  test::TempFolder tmp;
  const auto source = tmp / "own.pdf";
  const std::string original = TextPdf("own", 3);
  test::WriteFile(source, original);

  for (const std::string& folder : {tmp.Path(), tmp.Path() + "/"}) {
    const CommandResult run = RunRepairTool({"-o", folder, "--overwrite", source}, tmp.Path());
    EXPECT_EQ(run.status, 1) << folder;
    EXPECT_EQ(run.out, "") << folder;
    EXPECT_EQ(run.err,
              "tarnwick-repair: " + source.string() + ": cannot repair a file onto itself\n");
    EXPECT_EQ(test::ReadFile(source), original) << folder;
  }
}

}  // namespace
}  // namespace tarnwick::cli_test

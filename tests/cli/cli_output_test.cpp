// Where the repaired copies go, and when an existing file may be replaced.
#include <gtest/gtest.h>

#include <ctime>
#include <set>

#include "repair_tool.h"
#include "system_environment.h"

namespace tarnwick::cli_test {
namespace {

namespace fs = std::filesystem;

// Work folder names ("hour-minute-second-day-month-year", no leading zeros) of every second
// from `from` to `to`.
std::set<std::string> WorkFolderNames(std::time_t from, std::time_t to) {
  std::set<std::string> names;
  for (std::time_t t = from; t <= to; ++t) {
    const std::tm parts = *std::localtime(&t);
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

  const CommandResult run =
      RunRepairTool({"-o", out.string(), tmp.File("b.pdf"), tmp.File("a.pdf")}, tmp.Path());

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{(out / "b.pdf").string(), (out / "a.pdf").string()}));
  EXPECT_EQ(test::ReadFile(out / "a.pdf").rfind("%PDF-1.4", 0), 0u);
  EXPECT_NE(test::ReadFile(out / "b.pdf"), test::ReadFile(out / "a.pdf"));
}

TEST(CliOutput, MissingOutputFolderIsCreatedAndAFileInItsPlaceIsRefused) {
  test::TempFolder tmp;
  const std::string source = tmp.File("doc.pdf");
  test::WriteFile(source, TextPdf("doc", 1));
  const auto nested = tmp / "new" / "deeper";

  const CommandResult created = RunRepairTool({"-o", nested.string(), source}, tmp.Path());
  EXPECT_EQ(created.status, 0) << created.err;
  EXPECT_EQ(Lines(created.out), std::vector<std::string>{(nested / "doc.pdf").string()});
  EXPECT_TRUE(fs::is_regular_file(nested / "doc.pdf"));

  const std::string notAFolder = tmp.File("plain-file");
  test::WriteFile(notAFolder, "not a folder");
  const CommandResult refused = RunRepairTool({"-o", notAFolder, source}, tmp.Path());
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find(notAFolder), std::string::npos) << refused.err;
  EXPECT_EQ(test::ReadFile(notAFolder), "not a folder");
}

TEST(CliOutput, WithoutOutputFolderTheCopyGoesToATimedFolderInThePrivateTemporaryFolder) {
  test::TempFolder tmp;
  const std::string source = (tmp / "input" / "report.pdf").string();
  fs::create_directory(tmp / "input");
  test::WriteFile(source, TextPdf("report", 2));

  const std::time_t before = std::time(nullptr);
  const CommandResult run = RunRepairTool({source}, tmp.Path());
  const std::time_t after = std::time(nullptr);

  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u) << run.out;
  const fs::path copy = lines[0];
  const fs::path privateFolder = test::PrivateFolderIn(tmp.Path());
  EXPECT_EQ(copy.filename(), "report.pdf");
  EXPECT_EQ(copy.parent_path().parent_path().lexically_normal(), privateFolder.lexically_normal());
  EXPECT_TRUE(WorkFolderNames(before, after).contains(copy.parent_path().filename().string()))
      << copy.parent_path().filename();

  // The same engine writes the same bytes wherever the copy goes.
  const auto out = tmp / "out";
  fs::create_directory(out);
  ASSERT_EQ(RunRepairTool({"-o", out.string(), source}, tmp.Path()).status, 0);
  EXPECT_EQ(test::ReadFile(copy), test::ReadFile(out / "report.pdf"));
}

TEST(CliOutput, ExistingOutputIsKeptWithoutOverwriteAndReplacedWithIt) {
  test::TempFolder tmp;
  const auto out = tmp / "out";
  const auto fresh = tmp / "fresh";
  fs::create_directory(out);
  fs::create_directory(fresh);
  const std::string source = tmp.File("doc.pdf");
  test::WriteFile(source, TextPdf("doc", 2));
  const std::string earlier = "an earlier file of the same name";
  test::WriteFile(out / "doc.pdf", earlier);

  const CommandResult kept = RunRepairTool({"-o", out.string(), source}, tmp.Path());
  EXPECT_EQ(kept.status, 1);
  EXPECT_EQ(kept.out, "");
  EXPECT_NE(kept.err.find("doc.pdf"), std::string::npos) << kept.err;
  EXPECT_EQ(test::ReadFile(out / "doc.pdf"), earlier);

  const CommandResult replaced =
      RunRepairTool({"-o", out.string(), "--overwrite", source}, tmp.Path());
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(Lines(replaced.out), std::vector<std::string>{(out / "doc.pdf").string()});
  ASSERT_EQ(RunRepairTool({"-o", fresh.string(), source}, tmp.Path()).status, 0);
  EXPECT_EQ(test::ReadFile(out / "doc.pdf"), test::ReadFile(fresh / "doc.pdf"));
}

TEST(CliOutput, RepairIntoTheSourcesOwnFolderIsRefusedAndLeavesTheOriginalAlone) {
  test::TempFolder tmp;
  const std::string source = tmp.File("own.pdf");
  const std::string original = TextPdf("own", 3);
  test::WriteFile(source, original);

  for (const std::string& folder : {tmp.Path(), tmp.Path() + "/"}) {
    const CommandResult run = RunRepairTool({"-o", folder, "--overwrite", source}, tmp.Path());
    EXPECT_EQ(run.status, 1) << folder;
    EXPECT_EQ(run.out, "") << folder;
    EXPECT_EQ(run.err, "tarnwick-repair: " + source + ": cannot repair a file onto itself\n");
    EXPECT_EQ(test::ReadFile(source), original) << folder;
  }
}

}  // namespace
}  // namespace tarnwick::cli_test

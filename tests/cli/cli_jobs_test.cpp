// Several jobs at once must not change what the tool prints, reports or writes.
#include <gtest/gtest.h>

#include <map>

#include "repair_tool.h"

namespace tarnwick::cli_test {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder)) {
    contents[entry.path().filename().string()] = test::ReadFile(entry.path());
  }
  return contents;
}

TEST(CliJobs, FourJobsPrintReportAndWriteExactlyWhatOneJobDoes) {
  test::TempFolder tmp;
  fs::create_directory(tmp / "left");
  fs::create_directory(tmp / "right");
  // The first file is the largest, so that later files finish first when jobs run at once; two
  // files share a name and must be written in the order given.
  std::vector<std::string> files;
  const std::vector<std::pair<std::string, int>> sources = {
      {"left/big.pdf", 400}, {"left/same.pdf", 30}, {"one.pdf", 1},   {"right/same.pdf", 5},
      {"two.pdf", 2},        {"three.pdf", 3},      {"four.pdf", 60}, {"five.pdf", 1}};
  for (const auto& [name, pages] : sources) {
    files.push_back(tmp.File(name));
    test::WriteFile(files.back(), TextPdf(name, pages));
  }
  const auto out = tmp / "out";

  const std::string report = tmp.File("report.jsonl");

  auto runWithJobs = [&](const std::string& jobs) {
    fs::remove_all(out);
    fs::create_directory(out);
    std::vector<std::string> arguments = {"-j", jobs,         "--overwrite",
                                          "-o", out.string(), "--report=" + report};
    arguments.insert(arguments.end(), files.begin(), files.end());
    return RunRepairTool(arguments, tmp.Path());
  };
  // The report's lines as written, less the time each job took.
  auto reportWithoutTimes = [&] {
    const std::string text = test::ReadFile(report);
    ExpectValidReport(text);
    std::vector<nlohmann::json> lines = ReportLines(text);
    for (nlohmann::json& line : lines) line.erase("seconds");
    return lines;
  };
  const CommandResult one = runWithJobs("1");
  const auto oneContents = FolderContents(out);
  const auto oneReport = reportWithoutTimes();
  const CommandResult four = runWithJobs("4");
  const auto fourContents = FolderContents(out);
  const auto fourReport = reportWithoutTimes();

  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(four.status, 0) << four.err;
  std::vector<std::string> expected;
  for (const auto& [name, pages] : sources) {
    expected.push_back((out / fs::path(name).filename()).string());
  }
  EXPECT_EQ(Lines(one.out), expected);
  EXPECT_EQ(four.out, one.out);
  ASSERT_EQ(oneReport.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(oneReport[i]["input"], files[i]) << i;
    EXPECT_EQ(oneReport[i]["output"], expected[i]) << i;
  }
  EXPECT_EQ(fourReport, oneReport);
  EXPECT_EQ(oneContents.size(), 7u);
  EXPECT_TRUE(fourContents == oneContents) << "the copies written by -j 4 differ from -j 1";

  // The later of the two same-named files wins.
  const auto alone = tmp / "alone";
  fs::create_directory(alone);
  ASSERT_EQ(RunRepairTool({"-o", alone.string(), tmp.File("right/same.pdf")}, tmp.Path()).status,
            0);
  EXPECT_EQ(fourContents.at("same.pdf"), test::ReadFile(alone / "same.pdf"));
}

}  // namespace
}  // namespace tarnwick::cli_test

// What --check prints and what --report writes for each way a file's job can end, judged
// against inputs whose damage the test made itself (from a file qpdf wrote, which is intact).
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "oracle_tools.h"
#include "repair_tool.h"
#include "system_environment.h"

namespace tarnwick::cli_test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at; (at = text.find(from)) != std::string::npos;)
    text.replace(at, from.size(), to);
  return text;
}

// The paths of one case, which its expectations name "{in}" (the input), "{inputs}" (the input's
// folder) and "{out}" (the output folder).
struct Places {
  std::string in, inputs, out;

  std::string Expand(const std::string& text) const {
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "{in}", in), "{inputs}", inputs), "{out}", out);
  }
  json Expand(const json& value) const {
    if (value.is_string()) return Expand(value.get<std::string>());
    json expanded = value;
    if (value.is_structured()) {
      for (auto& item : expanded) item = Expand(item);
    }
    return expanded;
  }
};

// Every field of `part` is in `line` with the same value; objects are compared field by field
// down to their leaves, arrays and values whole.
void ExpectHolds(const json& line, const json& part, const std::string& where) {
  if (!part.is_object()) {
    EXPECT_EQ(line, part) << where;
    return;
  }
  ASSERT_TRUE(line.is_object()) << where << ": " << line;
  for (const auto& [key, value] : part.items()) {
    ASSERT_TRUE(line.contains(key)) << where << ": no " << key << " in " << line;
    ExpectHolds(line[key], value, where + "/" + key);
  }
}

// The offset at which object `number`'s header line starts.
std::size_t ObjectOffset(const std::string& pdf, int number) {
  const std::string header = "\n" + std::to_string(number) + " 0 obj";
  return pdf.find(header) + 1;
}

struct ReportCase {
  std::string name;                  // the input's file name
  std::optional<std::string> bytes;  // none: the file does not exist
  std::vector<std::string> options;  // with "{inputs}" and "{out}" expanded
  int status;
  std::string printed;  // standard output
  json part;            // what the report line must hold
};

TEST(CliReport, EachFilesCheckAndRepairIsPrintedAndReportedAsItEnded) {
  test::TempFolder tmp;
  const fs::path inputs = tmp / "in";
  const fs::path out = tmp / "out";
  fs::create_directories(inputs);
  fs::create_directories(out);
  test::WriteFile(tmp / "made.pdf", TextPdf("made", 3));
  ASSERT_EQ(oracle::RunShell("qpdf " + oracle::Quoted(tmp / "made.pdf") + " " +
                             oracle::Quoted(tmp / "intact.pdf"))
                .status,
            0);
  const std::string intact = test::ReadFile(tmp / "intact.pdf");

  const std::string withoutTail = intact.substr(0, intact.rfind("\nxref\n") + 1);
  const std::size_t lastObject = intact.rfind("\n", intact.rfind(" 0 obj")) + 1;
  const int lastNumber = std::stoi(intact.substr(lastObject));
  const std::string cut = intact.substr(0, (lastObject + intact.rfind("endobj")) / 2);

  // Object 1's entry in the cross-reference table gives object 2's offset.
  const std::size_t table = intact.rfind("\nxref\n") + 6;
  const std::size_t firstEntry = intact.find('\n', table) + 1;
  std::string misdirected = intact;
  misdirected.replace(firstEntry + 20, 10, intact.substr(firstEntry + 40, 10));

  // Page 2 (object 6) is gone from the file; its page tree still lists it.
  std::string pageLost = TextPdf("lost", 3);
  const std::size_t page2 = ObjectOffset(pageLost, 6);
  pageLost.erase(page2, ObjectOffset(pageLost, 7) - page2);

  std::string wrongLength = TextPdf("length", 1);
  const std::size_t length = wrongLength.find("/Length ") + 8;
  wrongLength.replace(length, wrongLength.find(' ', length) - length, "3");

  test::WriteFile(out / "declined.pdf", "an earlier file of the same name");

  const std::vector<ReportCase> cases = {
      {"intact.pdf",
       intact,
       {"--check"},
       0,
       "{in}: intact\n",
       {{"status", "intact"},
        {"output", nullptr},
        {"source",
         {{"header", "intact"},
          {"xref", "intact"},
          {"startxref", "intact"},
          {"trailer", "intact"},
          {"page_tree", "intact"},
          {"truncated", false},
          {"encryption", "none"}}},
        {"found", {{"pages_in_old_tree", 3}, {"pages_recovered", nullptr}}}}},
      {"without-tail.pdf",
       withoutTail,
       {"--check"},
       1,
       "{in}: no cross-reference table; startxref missing; no trailer; truncated\n",
       {{"status", "needs-repair"},
        {"source",
         {{"xref", "missing"},
          {"startxref", "missing"},
          {"trailer", "missing"},
          {"truncated", true},
          {"open_object", nullptr}}}}},
      {"cut.pdf",
       cut,
       {"--check"},
       1,
       "{in}: no cross-reference table; startxref missing; no trailer; truncated (object " +
           std::to_string(lastNumber) + " still open at the end)\n",
       {{"status", "needs-repair"},
        {"source",
         {{"truncated", true},
          {"open_object", {{"object", lastNumber}, {"offset", lastObject}}}}}}},
      {"misdirected.pdf",
       misdirected,
       {"--check"},
       1,
       "{in}: cross-reference table points to wrong offsets for 1 object\n",
       {{"status", "needs-repair"},
        {"source",
         {{"xref", "wrong-offsets"},
          {"wrong_offset_count", 1},
          {"wrong_offsets",
           {{{"object", 1},
             {"listed", std::stoull(intact.substr(firstEntry + 40, 10))},
             {"found", std::stoull(intact.substr(firstEntry + 20, 10))}}}}}}}},
      {"missing.pdf",
       std::nullopt,
       {"--check"},
       1,
       "",
       {{"status", "source-unreadable"},
        {"reason", test::MissingFileText()},
        {"failed_path", "{in}"},
        {"source", nullptr}}},
      {"reported-on-standard-output.pdf",
       intact,
       {"--check", "--report=-"},
       0,
       "",
       {{"status", "intact"}}},
      {"repaired.pdf",
       withoutTail,
       {"-o", "{out}"},
       0,
       "{out}/repaired.pdf\n",
       {{"status", "repaired"},
        {"output", "{out}/repaired.pdf"},
        {"source", {{"trailer", "missing"}}},
        {"found", {{"pages_recovered", 3}, {"lost_pages", json::array()}}}}},
      {"page-lost.pdf",
       pageLost,
       {"-o", "{out}"},
       0,
       "{out}/page-lost.pdf\n",
       {{"status", "repaired-with-losses"},
        {"found", {{"pages_in_old_tree", 3}, {"pages_recovered", 2}, {"lost_pages", {{2, 2}}}}}}},
      {"length.pdf",
       wrongLength,
       {"-o", "{out}"},
       0,
       "{out}/length.pdf\n",
       {{"status", "repaired"},
        {"mends",
         {{"streams",
           {{{"object", 5}, {"mend", "true-length"}, {"offset", ObjectOffset(wrongLength, 5)}}}},
          {"objects", json::array()}}}}},
      {"notes.pdf",
       "Meeting notes, not a PDF at all.\n",
       {"-o", "{out}"},
       1,
       "{out}/notes.pdf\n",
       {{"status", "no-page-recovered"}, {"found", {{"pages_recovered", 0}}}}},
      {"own.pdf",
       intact,
       {"-o", "{inputs}", "--overwrite"},
       1,
       "",
       {{"status", "output-not-writable"},
        {"reason", "cannot repair a file onto itself"},
        {"failed_path", "{in}"},
        {"source", nullptr}}},
      {"declined.pdf",
       intact,
       {"-o", "{out}"},
       1,
       "",
       {{"status", "declined-overwrite"},
        {"output", nullptr},
        {"reason", "exists, not overwritten"},
        {"failed_path", "{out}/declined.pdf"}}},
  };

  const std::string reportFile = tmp.File("report.jsonl");
  for (const ReportCase& row : cases) {
    const Places places{(inputs / row.name).string(), inputs.string(), out.string()};
    if (row.bytes) test::WriteFile(places.in, *row.bytes);
    std::vector<std::string> arguments;
    for (const std::string& option : row.options) arguments.push_back(places.Expand(option));
    const bool toStandardOutput = arguments.back() == "--report=-";
    if (!toStandardOutput) arguments.push_back("--report=" + reportFile);
    arguments.push_back(places.in);

    const CommandResult run = RunRepairTool(arguments, tmp.Path());
    const std::string report = toStandardOutput ? run.out : test::ReadFile(reportFile);

    EXPECT_EQ(run.status, row.status) << row.name << ": " << run.err;
    if (!toStandardOutput) {
      EXPECT_EQ(run.out, places.Expand(row.printed)) << row.name;
    }
    ExpectValidReport(report);
    const std::vector<json> lines = ReportLines(report);
    ASSERT_EQ(lines.size(), 1u) << row.name << ": " << report;
    const json& line = lines[0];
    ExpectHolds(line, places.Expand(row.part), row.name);
    EXPECT_EQ(line["input"], places.in) << row.name;
    EXPECT_EQ(line["input_bytes"], row.bytes ? row.bytes->size() : 0u) << row.name;
    if (line["output"].is_string()) {
      EXPECT_EQ(line["output_bytes"], fs::file_size(line["output"].get<std::string>())) << row.name;
    }
  }
}

TEST(CliReport, AReportThatCannotBeCreatedEndsTheRunBeforeAnyFileIsRepaired) {
  test::TempFolder tmp;
  const std::string source = tmp.File("doc.pdf");
  test::WriteFile(source, TextPdf("doc", 1));
  const std::string report = tmp.File("no such folder/report.jsonl");
  const CommandResult run =
      RunRepairTool({"-o", tmp.File("out"), "--report=" + report, source}, tmp.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tarnwick-repair: " + report + ": " + test::MissingFileText() + "\n");
  EXPECT_FALSE(fs::exists(tmp / "out"));
}

}  // namespace
}  // namespace tarnwick::cli_test

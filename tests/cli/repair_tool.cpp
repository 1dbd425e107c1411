#include "repair_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "system_environment.h"

namespace tarnwick::cli_test {

// The tool inherits the variable from this process.
CommandResult RunRepairTool(const std::vector<std::string>& arguments,
                            const std::filesystem::path& tmpdir) {
  const test::ScopedEnvironment temporaryFolder(test::kTemporaryFolderVariable, tmpdir.string());
  return test::RunProgram(TARNWICK_REPAIR_BINARY, arguments);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<nlohmann::json> ReportLines(const std::string& report) {
  std::vector<nlohmann::json> lines;
  for (const std::string& line : Lines(report)) {
    lines.push_back(nlohmann::json::parse(line, nullptr, false));
    EXPECT_FALSE(lines.back().is_discarded()) << "not JSON: " << line;
  }
  return lines;
}

void ExpectValidReport(const std::string& report) {
#ifdef _WIN32
  // These tests run under Wine, which has no Python to run the validator. The report is made by
  // the same code on both systems, and the Linux runs validate it.
  static_cast<void>(report);
#else
  test::TempFolder scratch;
  const std::string file = scratch.File("report.jsonl");
  test::WriteFile(file, report);
  const CommandResult run =
      test::RunProgram("python3", {TARNWICK_REPORT_VALIDATOR, TARNWICK_REPORT_SCHEMA, file});
  EXPECT_EQ(run.status, 0) << run.err << "in the report:\n" << report;
#endif
}

std::string TextPdf(const std::string& label, int pages) {
  std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "",
                                      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
  std::string kids;
  for (int page = 1; page <= pages; ++page) {
    const std::size_t number = objects.size() + 1;
    kids += std::to_string(number) + " 0 R ";
    const std::string text =
        "BT /F1 12 Tf 20 100 Td (" + label + " page " + std::to_string(page) + ") Tj ET";
    objects.push_back(
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Resources << /Font "
        "<< /F1 3 0 R >> >> /Contents " +
        std::to_string(number + 1) + " 0 R >>");
    objects.push_back("<< /Length " + std::to_string(text.size()) + " >>\nstream\n" + text +
                      "\nendstream");
  }
  objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";

  std::string pdf = "%PDF-1.4\n";
  std::string xref = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const std::string offset = std::to_string(pdf.size());
    xref += std::string(10 - offset.size(), '0') + offset + " 00000 n \n";
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::string xrefOffset = std::to_string(pdf.size());
  return pdf + xref + "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + xrefOffset + "\n%%EOF\n";
}

}  // namespace tarnwick::cli_test

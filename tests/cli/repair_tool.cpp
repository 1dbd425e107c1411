#include "repair_tool.h"

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

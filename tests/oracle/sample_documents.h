#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarnwick::oracle {

// Real PDFs written by several producers from one PostScript document of several text pages.
// Every file is written without object streams, which the engine does not unpack.
class SampleDocuments {
 public:
  // The producers: "ghostscript" (ps2pdf), "cairo" (pdftocairo of that), "qpdf" (a plain qpdf
  // rewrite), "qdf" (qpdf's uncompressed form) and "incremental" (the qpdf rewrite with an
  // appended update that replaces the first page's content stream).
  static const std::vector<std::string>& Producers();
  // The "qpdf" document laid out in ways a reader must not take for granted: "updated_page" (an
  // appended update with a new version of the second page's object), "reversed_pages" (the page
  // objects in the file in the reverse of the page tree's order) and "generation_one" (page
  // objects and content streams of generation 1, some object headers over three lines).
  static const std::vector<std::string>& Layouts();
  // The text the incremental update puts on the first page in place of kSampleLine.
  static constexpr char kSampleLine[] = "Tarnwick oracle line";
  static constexpr char kRevisedLine[] = "Tarnwick newer line";

  explicit SampleDocuments(std::filesystem::path folder);

  // The document of a producer or layout, made on first use. Throws when a tool fails.
  const std::filesystem::path& Document(const std::string& producer);
  // That document encrypted by qpdf: empty user password, 128-bit RC4.
  std::filesystem::path Encrypted(const std::string& producer);

 private:
  std::filesystem::path Make(const std::string& producer);
  std::filesystem::path ReplaceFirstContents(const std::filesystem::path& base);
  std::filesystem::path ReplaceSecondPage(const std::filesystem::path& base);
  std::filesystem::path ReversePageObjects(const std::filesystem::path& base);
  std::filesystem::path MoveToGenerationOne(const std::filesystem::path& base);
  // Writes `bytes` as `name`.pdf; throws unless qpdf --check passes it without a warning.
  std::filesystem::path WriteChecked(const std::string& name, const std::string& bytes);

  std::filesystem::path folder_;
  std::map<std::string, std::filesystem::path> made_;
};

}  // namespace tarnwick::oracle

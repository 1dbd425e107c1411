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
  // The text the incremental update puts on the first page in place of kSampleLine.
  static constexpr char kSampleLine[] = "Tarnwick oracle line";
  static constexpr char kRevisedLine[] = "Tarnwick newer line";

  explicit SampleDocuments(std::filesystem::path folder);

  // The document of `producer`, made on first use. Throws when a tool fails.
  const std::filesystem::path& Document(const std::string& producer);
  // That document encrypted by qpdf: empty user password, 128-bit RC4.
  std::filesystem::path Encrypted(const std::string& producer);

 private:
  std::filesystem::path Make(const std::string& producer);
  std::filesystem::path AppendUpdate(const std::filesystem::path& base);

  std::filesystem::path folder_;
  std::map<std::string, std::filesystem::path> made_;
};

}  // namespace tarnwick::oracle

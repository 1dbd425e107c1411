#pragma once

#include <string>

#include "pdf_builder.h"

namespace tarnwick::test {

// A well-formed PDF of `pages` pages, each drawing a content stream of about `streamLength`
// bytes, so that a job runs through many chunks, progress steps and (when large) many reads and
// writes of the file layer. The drawing bytes hold none of the scan's keywords.
inline std::string ManyPagesSource(int pages, std::size_t streamLength) {
  PdfBuilder pdf;
  std::string kids;
  for (int page = 0; page < pages; ++page) kids += std::to_string(3 + 2 * page) + " 0 R ";
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
  std::string drawing;
  while (drawing.size() < streamLength) drawing += "0 0 m 100 100 l S\n";
  for (int page = 0; page < pages; ++page) {
    const int number = 3 + 2 * page;
    pdf.Object(number, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                           std::to_string(number + 1) + " 0 R >>");
    pdf.Object(number + 1, "<< /Length " + std::to_string(drawing.size()) + " >>\nstream\n" +
                               drawing + "endstream");
  }
  return pdf.XrefTable().Trailer("/Size " + std::to_string(3 + 2 * pages) + " /Root 1 0 R").Bytes();
}

}  // namespace tarnwick::test

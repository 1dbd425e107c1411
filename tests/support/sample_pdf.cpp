#include "sample_pdf.h"

namespace tarnwick::test {

PdfBuilder SamplePdfObjects(const std::string& label, int pages) {
  PdfBuilder pdf;
  std::string kids;
  for (int page = 0; page < pages; ++page) kids += std::to_string(3 + 2 * page) + " 0 R ";
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
  for (int page = 0; page < pages; ++page) {
    const int number = 3 + 2 * page;
    const std::string text =
        "BT /F1 24 Tf 72 700 Td (" + label + " page " + std::to_string(page + 1) + ") Tj ET";
    pdf.Object(number,
               "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font "
               "<< /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >> "
               "/Contents " +
                   std::to_string(number + 1) + " 0 R >>");
    pdf.Object(number + 1, "<< /Length " + std::to_string(text.size()) + " >>\nstream\n" + text +
                               "\nendstream");
  }
  return pdf;
}

std::string SamplePdf(const std::string& label, int pages) {
  PdfBuilder pdf = SamplePdfObjects(label, pages);
  pdf.XrefTable().Trailer("/Size " + std::to_string(3 + 2 * pages) + " /Root 1 0 R");
  return pdf.Bytes();
}

}  // namespace tarnwick::test

#include "damaged_pdf.h"

#include "sample_pdf.h"

namespace tarnwick::test {

std::string DamagedPdf(const std::string& label, int pages) {
  // The file ends after the objects: no table, no trailer, no %%EOF.
  return SamplePdfObjects(label, pages).Bytes();
}

}  // namespace tarnwick::test

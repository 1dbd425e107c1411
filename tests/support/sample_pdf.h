#pragma once

#include <string>

#include "pdf_builder.h"

namespace tarnwick::test {

// The objects of a readable PDF of `pages` pages, each showing "`label` page n" in Helvetica:
// catalog 1, page tree 2, then each page and its contents. No cross-reference table or trailer
// follows yet; callers add them, or leave them out to make a damaged file.
PdfBuilder SamplePdfObjects(const std::string& label, int pages);

// The complete file: the objects above, a cross-reference table and a trailer.
std::string SamplePdf(const std::string& label, int pages);

}  // namespace tarnwick::test

#pragma once

#include <cstdint>
#include <string>

#include "pdf_file_writer.h"

namespace tarnwick::bench {

// At scale 1 the document has this many pages, which makes a file of about 220 MB holding some
// 123 000 objects. Size and counts grow in proportion to the scale.
inline constexpr int kPagesAtScaleOne = 20480;

struct LargePdfOptions {
  double scale = 1.0;
  std::uint64_t seed = 1;
};

struct LargePdfSummary {
  int pages = 0;
  int objects = 0;
  std::uint64_t bytes = 0;
  XrefRange xref;
};

// Writes a large, valid PDF without object streams: per page one page dictionary, three content
// streams, one image and one link annotation; fonts and graphics states shared by all pages; a
// balanced page tree written bottom-up after the pages; one cross-reference table. The same
// options always give the same bytes. Throws std::runtime_error on I/O failure.
LargePdfSummary WriteLargePdf(const std::string& path, const LargePdfOptions& options);

// Copies `intactPath` to `damagedPath` with the cross-reference table overwritten by junk of
// the same length: every byte but the line ends becomes an upper-case letter, digit or blank,
// which can spell none of the keywords a repair looks for. The trailer and startxref stay.
void WriteDamagedCopy(const std::string& intactPath, const std::string& damagedPath,
                      const XrefRange& xref, std::uint64_t seed);

}  // namespace tarnwick::bench

#pragma once

#include <cstddef>
#include <string>

// Damage done to a PDF's bytes, as transfers, disks and editors do it.
namespace tarnwick::oracle {

// The first `keep` bytes.
std::string CutTail(const std::string& pdf, std::size_t keep);
// Every cross-reference section ("xref" at a line start up to its "trailer") overwritten with
// '#', keeping its line ends and so every offset of the file.
std::string JunkXrefSections(const std::string& pdf);
// The same sections with every byte zero, line ends included.
std::string ZeroedXrefSections(const std::string& pdf);
// Every byte from `keep` on made zero, keeping the file's length.
std::string ZeroedTail(const std::string& pdf, std::size_t keep);
// `count` bytes of printable junk put in after the header's line, moving every offset after it.
std::string WithJunkAfterHeader(const std::string& pdf, std::size_t count);
// Every version of each object whose dictionary holds `marker` (e.g. "/Type /Pages") made
// blanks from its header to its "endobj", keeping the file's length.
std::string WithoutObjectsHolding(const std::string& pdf, const std::string& marker);
// The same for every version of object `number`.
std::string WithoutObject(const std::string& pdf, int number);
// Every LF not already after a CR becomes CR LF, binary stream data included.
std::string LfToCrLf(const std::string& pdf);
// Every trailer dictionary removed, from "trailer" up to the "startxref" after it.
std::string WithoutTrailers(const std::string& pdf);
// Every startxref value's digits replaced by nines, keeping the file's length.
std::string GarbledStartXref(const std::string& pdf);
// Every "endobj" that stands alone on its line removed with its line end.
std::string WithoutEndobjLines(const std::string& pdf);

// The last version of stream object `number` with its /Length value made `delta` bytes off the
// true length of its data, written as a direct number.
std::string MisstatedLength(const std::string& pdf, int number, long delta);
// Four bytes three quarters into the data of the last version of stream object `number`
// inverted: past the code tables at the start of compressed data.
std::string FlippedStreamData(const std::string& pdf, int number);

// The second half of the data of the last version of stream object `number` removed, its
// /Length left as it was.
std::string CutStreamData(const std::string& pdf, int number);
// The first sixteen bytes of the data of the last version of stream object `number` inverted:
// compressed data then decodes to nothing, and AES data loses its initialisation vector.
std::string InvertedStreamStart(const std::string& pdf, int number);

// The uncompressed data of stream object `number` LZW-encoded (9 to 12-bit codes, early change,
// as PDF writes them), its dictionary made /Length and /Filter /LZWDecode only.
std::string WithLzwContent(const std::string& pdf, int number);

// Where the last complete "N 0 obj" .. "endobj" version of object `number` ends (the byte after
// "endobj"), among those that end at or before `limit`; 0 when none does.
std::size_t LastObjectEnd(const std::string& pdf, int number, std::size_t limit);
// Where the last cross-reference section starts, or the file's length when there is none.
std::size_t LastXrefSection(const std::string& pdf);

}  // namespace tarnwick::oracle

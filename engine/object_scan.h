#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "job_progress.h"
#include "pdf_syntax.h"
#include "scan_results.h"
#include "scan_text.h"

namespace tarnwick {

// Step 1 of a repair: reads the whole source once, front to back, recognises a handful of
// keywords and from each one searches back for the object that holds it. What it records is the
// raw material of the rebuild: where every object lies, which are pages, which one is the
// catalog, what the trailers and the page-tree arrays say. Objects packed into object streams
// are unpacked on the way and scanned by the same rules.
class ObjectScan {
 public:
  ObjectScan(SourceReader& source, JobProgress& progress, ScanResults& results)
      : source_(source), progress_(progress), results_(results), sourceText_(source) {}

  // Empties the results and fills them; false when the job must end (stop or read error).
  bool ScanObjects();

 private:
  // One 512-byte chunk of the scan. A keyword test sees only the chunk's own bytes.
  struct Chunk {
    const std::uint8_t* bytes;
    std::int64_t size;
    std::int64_t start;  // source offset of bytes[0]

    int At(std::int64_t i) const { return i >= 0 && i < size ? bytes[i] : -1; }
    bool Has(std::int64_t i, std::string_view word) const {
      return i >= 0 && i + static_cast<std::int64_t>(word.size()) <= size &&
             std::memcmp(bytes + i, word.data(), word.size()) == 0;
    }
    // Index of the first (or last) `byte` among the chunk's first `span` bytes, or -1.
    std::int64_t FindAmongFirst(std::int64_t span, std::uint8_t byte, bool last) const;
  };

  // The rule of the keyword starting at chunk byte `i`, if any; false ends the scan.
  bool KeywordRule(const Chunk& chunk, std::int64_t i);
  // The boundary rules, for keywords whose last letters open the chunk. Each returns how far it
  // moves the scan position; the first two fire once per scan, disarming themselves.
  std::int64_t PageEndRule(const Chunk& chunk, bool& armed);
  std::int64_t CatalogEndRule(const Chunk& chunk, bool& armed);
  std::int64_t ObjectEndRule(const Chunk& chunk);

  // The rules, each over the text that holds its keyword.
  void RecordPage(ScanText& text, std::int64_t pageKeyword);
  void RecordCatalog(ScanText& text, std::int64_t catalogKeyword);
  void RecordObjectKeyword(ScanText& text, std::int64_t objKeyword);
  void RecordTrailer(ScanText& text, std::int64_t trailerKeyword);
  bool RecordKids(ScanText& text, std::int64_t kidsKeyword);      // false ends the scan
  std::int64_t KidsArrayWalk(ScanText& text, std::int64_t from);  // where the array ended
  void RecordObject(const ObjectRecord& record);

  // Object streams and cross-reference streams (object_streams.cpp). True when the record was
  // taken care of there: a cross-reference stream noted, or an object stream unpacked.
  bool ExamineStreamObject(const ObjectRecord& record);
  void NoteXrefStream(const ObjectRecord& record, const PdfDictionary& dictionary);
  // Appends the objects of the stream to the unpacked text and the table; how many it gave.
  std::size_t UnpackObjectStream(const ObjectRecord& record, PdfSyntax& syntax,
                                 const PdfDictionary& dictionary);
  // The page, catalog and Kids rules over unpacked text from `textStart` on.
  void ScanUnpackedText(std::size_t textStart);

  SourceReader& source_;
  JobProgress& progress_;
  ScanResults& results_;
  ScanText sourceText_;
  // Where "ObjStm" or "XRef" was seen last, -1 before; an object closing after it is looked into.
  std::int64_t streamTypeKeyword_ = -1;
  std::size_t unpackedObjects_ = 0;  // objects unpacked from object streams so far
};

}  // namespace tarnwick

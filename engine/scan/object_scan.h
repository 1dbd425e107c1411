#pragma once

#include <cstddef>
#include <cstdint>

#include "job_progress.h"
#include "pdf_syntax.h"
#include "scan_results.h"
#include "scan_text.h"
#include "standard_security.h"

namespace tarnwick {

// Step 1 of a repair: reads the whole source once, front to back, recognises a handful of
// keywords and from each one searches back for the object that holds it. What it records is the
// raw material of the rebuild: where every object lies, which are pages, which one is the
// catalog, what the trailers and the page-tree arrays say. Objects packed into object streams
// are unpacked on the way and scanned by the same rules.
class ObjectScan {
 public:
  // With `security`, the handler of an encrypted source, object streams are decrypted before
  // they are unpacked and the strings of their objects encrypted again for the copy.
  ObjectScan(SourceReader& source, JobProgress& progress, ScanResults& results,
             const StandardSecurity* security = nullptr)
      : source_(source),
        progress_(progress),
        results_(results),
        security_(security),
        sourceText_(source, results.kidsKeywords, 0) {}

  // Empties the results and fills them; false when the job must end (stop or read error). A scan
  // with a security handler runs over a source whose first scan was shown already: it keeps to
  // the safe points and leaves the progress bar alone.
  bool ScanObjects();

 private:
  static bool IsPageKeyword(SourceReader& reader, std::int64_t at);
  // The rule of the keyword whose first byte, `first`, stands at `at`, if any.
  void KeywordRule(std::int64_t at, int first);

  // The rules, each over the text that holds its keyword.
  void RecordPage(ScanText& text, std::int64_t pageKeyword);
  void RecordCatalog(ScanText& text, std::int64_t catalogKeyword);
  void RecordObjectKeyword(ScanText& text, std::int64_t objKeyword);
  // Records the open object, if any, as ending at `end`, where its "endobj" stood or should have.
  void CloseOpenObject(ScanText& text, std::int64_t end);
  void RecordTrailer(ScanText& text, std::int64_t trailerKeyword);
  void RecordKids(ScanText& text, std::int64_t kidsKeyword);
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
  const StandardSecurity* security_;
  ScanText sourceText_;
  // Where "ObjStm" or "XRef" was seen last, -1 before; an object closing after it is looked into.
  std::int64_t streamTypeKeyword_ = -1;
  std::size_t unpackedObjects_ = 0;  // objects unpacked from object streams so far
};

}  // namespace tarnwick

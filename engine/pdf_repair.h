#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backward_search.h"
#include "decimal.h"
#include "file_layer.h"
#include "job_interfaces.h"
#include "output_writer.h"
#include "pdf_syntax.h"
#include "repair_job_state.h"
#include "scan_results.h"
#include "source_reader.h"

namespace tarnwick {

// What a job needs from its surroundings.
struct RepairServices {
  FileLayer& files;
  Clock& clock;
  JobMessages& messages;
  JobControl& control;
};

// The repair engine. It reads a damaged PDF front to back, locates its objects by keyword
// without trusting the cross-reference data, and writes a new file: the objects copied byte for
// byte (pages pointed at a new page tree), a one-level page tree, a catalog, a cross-reference
// table and a trailer. One object serves one job at a time; its state persists between jobs.
class PDF_Repair {
 public:
  explicit PDF_Repair(RepairServices services);
  ~PDF_Repair();
  PDF_Repair(const PDF_Repair&) = delete;
  PDF_Repair& operator=(const PDF_Repair&) = delete;

  RepairJobState& State() { return state_; }
  const ScanResults& Results() const { return results_; }

  // Repairs one file into the work folder (or, in save mode, the destination folder). True when
  // the output was written and both files closed; false when the job ended early, in which case
  // both files are closed as well.
  bool RepairFile(const std::string& sourcePath);

  // Why the last job ended early, for logs and the command line: the system's error text with
  // the path it concerns, or "stopped".
  const std::string& FailureText() const { return failureText_; }
  // True when the last job created or truncated its output and then ended early, so that the
  // file at outputPath is an incomplete copy (the engine itself never deletes anything).
  bool LeftPartialOutput() const { return leftPartialOutput_; }

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
    std::int64_t FindAmongFirst(std::int64_t span, std::uint8_t byte, bool last) const {
      std::int64_t found = -1;
      for (std::int64_t i = 0; i < std::min(span, size) && (last || found < 0); ++i) {
        if (bytes[i] == byte) found = i;
      }
      return found;
    }
  };

  // Header and Step 1. Each returns false when the job must end (stop or I/O error).
  bool WriteHeader();
  bool ScanObjects();
  // The rule of the keyword starting at chunk byte `i`, if any; false ends the scan.
  bool KeywordRule(const Chunk& chunk, std::int64_t i);
  // The boundary rules, for keywords whose last letters open the chunk. Each returns how far it
  // moves the scan position; the first two fire once per scan, disarming themselves.
  std::int64_t PageEndRule(const Chunk& chunk, bool& armed);
  std::int64_t CatalogEndRule(const Chunk& chunk, bool& armed);
  std::int64_t ObjectEndRule(const Chunk& chunk);
  void RecordPage(std::int64_t pageKeyword);
  void RecordCatalog(std::int64_t catalogKeyword);
  void RecordObjectKeyword(std::int64_t objKeyword);
  void RecordTrailer(std::int64_t trailerKeyword);
  bool RecordKids(std::int64_t kidsKeyword);      // false ends the scan
  std::int64_t KidsArrayWalk(std::int64_t from);  // returns where the array ended
  void RecordObject(const ObjectRecord& record);

  // Object streams and cross-reference streams (object_streams.cpp). True when the record was
  // taken care of here: a cross-reference stream noted, or an object stream unpacked.
  bool ExamineStreamObject(const ObjectRecord& record);
  void NoteXrefStream(const ObjectRecord& record, const PdfDictionary& dictionary);
  // Appends the objects of the stream to the unpacked text and the table; how many it gave.
  std::size_t UnpackObjectStream(const ObjectRecord& record, PdfSyntax& syntax,
                                 const PdfDictionary& dictionary);
  // The page, catalog and Kids rules over unpacked text from `textStart` on.
  void ScanUnpackedText(std::size_t textStart);

  // Step 2 and the tail.
  bool RunRebuildPass();
  void ComputeNewPagesNumber();
  void MakeFallbackTrailer();
  // Makes the trailer record from the cross-reference streams, each entry from the newest that
  // has it; false when there are none.
  bool TakeXrefStreamTrailer();
  bool CopyObjects();
  // Whether a record goes into the output. Of the kinds, object streams go only when the source
  // is encrypted (they cannot be read), their unpacked objects only when it is not.
  bool IsCopied(const ObjectRecord& record, bool encrypted) const;
  static bool IsCopiedKind(const ObjectRecord& record, bool encrypted);
  // Copies one chunk of a page; true when its Parent entry was rewritten, in which case the
  // `inherited` entries follow the new reference.
  bool CopyPageChunk(const std::uint8_t* chunk, std::size_t length, const std::string& inherited);
  // The attributes a page inherited from its old ancestors and lacks itself, as entries to add.
  std::string InheritedEntries(const ObjectRecord& page);
  // The number after "/Parent" when the page's bytes hold that key exactly once.
  std::optional<std::int64_t> SoleParentNumber(const ObjectRecord& page);
  // Whether a node of the old tree from `parent` up has any attribute to hand down.
  bool AncestorsHandDown(std::int64_t parent);
  void WritePagesObject();
  bool PageContentsPresent(std::uint64_t start, std::uint64_t end);
  // How many records of `number` pass PageContentsPresent; 0 for numbers never listed.
  std::int64_t PassingRecords(std::int64_t number);
  void WriteCatalogObject();
  // The entries of the source's catalog (object `number`) other than /Type and /Pages, each on a
  // line of its own, as they stand in the source.
  std::string CatalogEntries(std::int64_t number);
  // The /Info reference of the trailer record in force, 0 when it has none.
  std::int64_t TrailerInfoNumber();
  void WriteXrefTable();
  void WriteTrailer();
  void WriteStartXref();
  // The /ID array after the last "ID" key of a trailer, when it holds exactly two strings.
  std::vector<std::uint8_t> IdentifierArray();

  // Helpers.
  // The reader that holds a record's bytes: the source, or the unpacked objects.
  SourceReader& ReaderOf(const ObjectRecord& record);
  // The dictionary that opens a record's object, when it reads as one.
  std::optional<PdfDictionary> DictionaryOf(const ObjectRecord& record);
  // The newest record of `number`, or null.
  const ObjectRecord* NewestRecord(std::int64_t number) const;
  // Whether some record of `number` was copied into the output.
  bool WasCopied(std::int64_t number, bool encrypted) const;
  struct TreeNode;
  const TreeNode& TreeNodeOf(std::int64_t number);  // read once per job and number
  bool Progress(int position);
  bool StartStep(int step);
  bool SafePoint();
  ProgressSink* Sink() const;
  std::string StepLabel(int step) const;
  // The first byte after the last CR or LF at or before `from` (1 when there is none).
  std::int64_t LineStartAtOrBefore(std::int64_t from, BackwardSearch& lineSearch);
  // The number on the source line that ends just before `end`.
  std::int32_t NumberOnLineBefore(std::int64_t end, BackwardSearch& lineSearch);
  std::int32_t ParseSourceRun(std::int64_t first, std::int64_t last);
  void CloseFiles();
  // Closes both files after an I/O error or a stop and returns false.
  bool EndJob();

  RepairServices services_;
  RepairJobState state_;
  ScanResults results_;
  std::string failureText_;
  bool leftPartialOutput_ = false;

  // Per-job working state, rebuilt by every job.
  std::unique_ptr<SourceReader> fileReader_;
  // The reader the rules work on: the source file, or unpacked objects while their rules run.
  SourceReader* source_ = nullptr;
  std::unique_ptr<SourceReader> unpackedReader_;  // over results_.unpacked, for the rebuild
  std::unique_ptr<OutputWriter> output_;
  struct ScanSearches;
  std::unique_ptr<ScanSearches> searches_;
  struct RebuildIndex;
  std::unique_ptr<RebuildIndex> index_;
  std::optional<std::uint64_t> xrefOffset_;
  std::uint64_t xrefSize_ = 0;
  std::vector<std::pair<std::int64_t, std::uint64_t>> xrefEntries_;  // number, output offset
};

}  // namespace tarnwick

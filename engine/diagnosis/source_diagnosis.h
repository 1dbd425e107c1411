#pragma once

#include <optional>

#include "old_page_tree.h"
#include "rebuild_summary.h"
#include "repair_outcome.h"
#include "scan_index.h"
#include "scan_results.h"
#include "source_reader.h"

namespace tarnwick {

// What a job learns about its source once the scan is over, read without trusting the source's
// own structure, and what its copy then kept, mended and lost. It reads the source but changes
// neither the scan's results nor the copy.
class SourceDiagnosis {
 public:
  SourceDiagnosis(SourceReader& source, const ScanResults& results);

  // What is wrong with the source and what the scan found in it.
  void Diagnose(EncryptionState encryption, RepairOutcome& outcome);
  // What the copy lists, lost and mended; after Diagnose.
  void RecordRebuild(const RebuildSummary& rebuilt, RepairOutcome& outcome);

 private:
  // Also notes where the header stands.
  HeaderState ReadHeader();
  // The catalog's number: the trailer's Root, else the one the newest cross-reference section
  // names, else the newest cross-reference stream's, else the catalog the scan found.
  std::int64_t RootNumber() const;
  TrailerState ReadTrailerState();
  // Whether the file ends without "%%EOF" after its last object, or with an object still open.
  void CheckEnd(SourceFindings& findings);
  std::optional<std::uint64_t> PlainOffset(std::int64_t number);
  // The pages whose content lost part of itself in the copy.
  std::vector<std::int64_t> PagesKeptInPart(const RebuildSummary& rebuilt);

  // Made on first use, dropped when Diagnose ends.
  ScanIndex& Index();

  SourceReader& source_;
  const ScanResults& results_;
  std::optional<ScanIndex> index_;
  OldPageTree tree_;
  std::int64_t sectionRoot_ = 0;  // the /Root of the newest cross-reference section
  std::int64_t headerOffset_ = 0;  // where "%PDF-" stands
};

}  // namespace tarnwick

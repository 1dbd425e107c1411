#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "number_table.h"
#include "scan_results.h"
#include "source_reader.h"

namespace tarnwick {

// The scan's records looked up by number and by where they start, for the readings of the
// source that follow the scan. Read-only over the results it was made from.
class ScanIndex {
 public:
  ScanIndex(const ScanResults& results, SourceReader& source);

  const ScanResults& Results() const { return results_; }
  // The newest record of `number` that holds an object (plain or unpacked), or null.
  const ObjectRecord* Newest(std::int64_t number) const;
  // The reader that holds a record's bytes.
  SourceReader& ReaderOf(const ObjectRecord& record) { 
    return record.origin == RecordOrigin::kUnpacked ? unpacked_ : source_;
  }
  // The reader of the objects unpacked from object streams.
  SourceReader& Unpacked() { return unpacked_; }
  // Where the newest record of `number` in the source (a plain object or an object stream)
  // starts.
  std::optional<std::uint64_t> NewestStart(std::int64_t number) const;
  // Whether a record of `number` in the source starts at `start`.
  bool StartsAt(std::int64_t number, std::uint64_t start) const;
  // The cross-reference stream the scan found at `offset`, or null.
  const XrefStreamRecord* XrefStreamAt(std::uint64_t offset) const;
  // The plain record that reaches furthest into the source, or null.
  const ObjectRecord* LastPlainRecord() const { return last_; }
  // How many records an update made older: versions of a number found before its newest.
  std::uint64_t VersionsDropped() const { return versionsDropped_; }

 private:
  const ScanResults& results_;
  SourceReader& source_;
  SourceReader unpacked_;
  NumberTable newest_;
  // Of the records in the source, plain objects and object streams, sorted.
  std::vector<std::pair<std::int64_t, std::uint64_t>> numberStarts_;
  std::vector<std::size_t> xrefStreamsByOffset_;  // indexes of the scan's list, sorted
  const ObjectRecord* last_ = nullptr;
  std::uint64_t versionsDropped_ = 0;
};

}  // namespace tarnwick

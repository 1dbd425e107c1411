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
  // Where the newest plain record of `number` starts.
  std::optional<std::uint64_t> NewestStart(std::int64_t number) const;
  // Whether a plain record of `number` starts at `start`.
  bool StartsAt(std::int64_t number, std::uint64_t start) const;
  // The end of the plain record that starts at `start`.
  std::optional<std::uint64_t> EndOfRecordAt(std::uint64_t start) const;
  // The plain record that reaches furthest into the source, or null.
  const ObjectRecord* LastPlainRecord() const { return last_; }
  // How many records an update made older: versions of a number found before its newest.
  std::uint64_t VersionsDropped() const { return versionsDropped_; }

 private:
  const ScanResults& results_;
  SourceReader& source_;
  SourceReader unpacked_;
  NumberTable newest_;
  std::vector<std::pair<std::int64_t, std::uint64_t>> numberStarts_;  // plain records, sorted
  std::vector<std::pair<std::uint64_t, std::uint64_t>> startEnds_;    // plain records, sorted
  const ObjectRecord* last_ = nullptr;
  std::uint64_t versionsDropped_ = 0;
};

}  // namespace tarnwick

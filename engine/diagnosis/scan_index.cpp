#include "scan_index.h"

#include <algorithm>

#include "object_numbers.h"

namespace tarnwick {

namespace {

bool HoldsObject(const ObjectRecord& record) {
  return record.origin != RecordOrigin::kObjectStream;
}

}  // namespace

ScanIndex::ScanIndex(const ScanResults& results, SourceReader& source)
    : results_(results), source_(source), unpacked_(results.unpacked) {
  // Newest first, so that the table keeps the newest version of each number.
  std::vector<std::int64_t> numbers;
  numbers.reserve(results.objects.size());
  for (std::size_t i = results.objects.size(); i-- > 0;) {
    const ObjectRecord& record = results.objects[i];
    if (!HoldsObject(record)) continue;
    numbers.push_back(record.number);
    if (IsListableNumber(record.number)) newest_.Add(record.number, i);
    if (record.origin != RecordOrigin::kSource) continue;
    numberStarts_.emplace_back(record.number, record.start);
    startEnds_.emplace_back(record.start, record.end);
    if (!last_ || record.end > last_->end || (record.end == last_->end && record.start > last_->start)) {
      last_ = &record;
    }
  }
  newest_.Seal();
  std::sort(numberStarts_.begin(), numberStarts_.end());
  std::sort(startEnds_.begin(), startEnds_.end());
  std::sort(numbers.begin(), numbers.end());
  versionsDropped_ = numbers.size() - static_cast<std::uint64_t>(
                                          std::unique(numbers.begin(), numbers.end()) -
                                          numbers.begin());
}

const ObjectRecord* ScanIndex::Newest(std::int64_t number) const {
  const std::optional<std::size_t> index = newest_.Find(number);
  return index ? &results_.objects[*index] : nullptr;
}

std::optional<std::uint64_t> ScanIndex::NewestStart(std::int64_t number) const {
  const ObjectRecord* record = Newest(number);
  if (record && record->origin == RecordOrigin::kSource) return record->start;
  // The newest may be unpacked; the newest plain version lies last among the number's starts
  // only by chance, so the one found last in the file is taken.
  const auto range = std::equal_range(
      numberStarts_.begin(), numberStarts_.end(), std::pair{number, std::uint64_t{0}},
      [](const auto& a, const auto& b) { return a.first < b.first; });
  if (range.first == range.second) return std::nullopt;
  return std::prev(range.second)->second;
}

bool ScanIndex::StartsAt(std::int64_t number, std::uint64_t start) const {
  return std::binary_search(numberStarts_.begin(), numberStarts_.end(), std::pair{number, start});
}

std::optional<std::uint64_t> ScanIndex::EndOfRecordAt(std::uint64_t start) const {
  const auto found = std::lower_bound(startEnds_.begin(), startEnds_.end(),
                                      std::pair{start, std::uint64_t{0}});
  if (found == startEnds_.end() || found->first != start) return std::nullopt;
  return found->second;
}

}  // namespace tarnwick

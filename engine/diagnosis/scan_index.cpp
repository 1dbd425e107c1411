#include "scan_index.h"

#include <algorithm>
#include <numeric>

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
    // Object streams stand in the source like plain objects; what they hold is read unpacked.
    if (record.origin != RecordOrigin::kUnpacked) {
      numberStarts_.emplace_back(record.number, record.start);
    }
    if (!HoldsObject(record)) continue;
    numbers.push_back(record.number);
    if (IsListableNumber(record.number)) newest_.Add(record.number, i);
    if (record.origin != RecordOrigin::kSource) continue;
    if (!last_ || record.end > last_->end || (record.end == last_->end && record.start > last_->start)) {
      last_ = &record;
    }
  }
  newest_.Seal();
  // Most files number their objects in the order they stand: in file order, then, there is
  // nothing to sort.
  std::reverse(numberStarts_.begin(), numberStarts_.end());
  std::reverse(numbers.begin(), numbers.end());
  if (!std::is_sorted(numberStarts_.begin(), numberStarts_.end())) {
    std::sort(numberStarts_.begin(), numberStarts_.end());
  }
  if (!std::is_sorted(numbers.begin(), numbers.end())) std::sort(numbers.begin(), numbers.end());
  xrefStreamsByOffset_.resize(results.xrefStreams.size());
  std::iota(xrefStreamsByOffset_.begin(), xrefStreamsByOffset_.end(), 0);
  std::sort(xrefStreamsByOffset_.begin(), xrefStreamsByOffset_.end(),
            [&results](std::size_t a, std::size_t b) {
              return results.xrefStreams[a].offset < results.xrefStreams[b].offset;
            });
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
  // Otherwise (unpacked, or not an object at all) the version that stands last in the source.
  const auto range = std::equal_range(
      numberStarts_.begin(), numberStarts_.end(), std::pair{number, std::uint64_t{0}},
      [](const auto& a, const auto& b) { return a.first < b.first; });
  if (range.first == range.second) return std::nullopt;
  return std::prev(range.second)->second;
}

const XrefStreamRecord* ScanIndex::XrefStreamAt(std::uint64_t offset) const {
  const auto& streams = results_.xrefStreams;
  const auto found = std::lower_bound(
      xrefStreamsByOffset_.begin(), xrefStreamsByOffset_.end(), offset,
      [&streams](std::size_t index, std::uint64_t wanted) { return streams[index].offset < wanted; });
  if (found == xrefStreamsByOffset_.end() || streams[*found].offset != offset) return nullptr;
  return &streams[*found];
}

bool ScanIndex::StartsAt(std::int64_t number, std::uint64_t start) const {
  return std::binary_search(numberStarts_.begin(), numberStarts_.end(), std::pair{number, start});
}

}  // namespace tarnwick

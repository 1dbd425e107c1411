#include "object_header.h"

#include "byte_classes.h"
#include "source_numbers.h"

namespace tarnwick {

namespace {

constexpr std::int64_t kMaxGenerationDigits = 5;
constexpr std::int64_t kMaxGeneration = 65535;

// The first offset of the run of bytes of `kind` that ends at `last`.
template <typename Kind>
std::int64_t RunStart(SourceReader& reader, std::int64_t last, Kind kind) {
  while (kind(reader.ByteAt(last))) --last;
  return last + 1;
}

}  // namespace

std::optional<ObjectHeader> HeaderEndingAt(SourceReader& reader, std::int64_t objKeyword) {
  if (!reader.Matches(objKeyword, "obj")) return std::nullopt;
  const std::int64_t gap = RunStart(reader, objKeyword - 1, IsPdfSpace);
  if (gap == objKeyword) return std::nullopt;
  const std::int64_t generationStart = RunStart(reader, gap - 1, IsDigit);
  const std::int64_t generationDigits = gap - generationStart;
  if (generationDigits < 1 || generationDigits > kMaxGenerationDigits) return std::nullopt;
  std::int64_t generation = 0;
  for (std::int64_t at = generationStart; at < gap; ++at) {
    generation = generation * 10 + (reader.ByteAt(at) - '0');
  }
  if (generation > kMaxGeneration) return std::nullopt;

  const std::int64_t secondGap = RunStart(reader, generationStart - 1, IsPdfSpace);
  if (secondGap == generationStart) return std::nullopt;
  std::int64_t start = RunStart(reader, secondGap - 1, IsDigit);
  if (start == secondGap) return std::nullopt;
  const int sign = reader.ByteAt(start - 1);
  if (sign == '+' || sign == '-') --start;
  const int before = reader.ByteAt(start - 1);
  if (start > 0 && !IsPdfSpace(before) && !IsDelimiter(before)) return std::nullopt;
  return ObjectHeader{start, ParseSourceRun(reader, start, secondGap - 1),
                      static_cast<std::uint16_t>(generation)};
}

}  // namespace tarnwick

#include "source_numbers.h"

#include <algorithm>

#include "decimal.h"

namespace tarnwick {

std::int32_t ParseSourceRun(SourceReader& reader, std::int64_t first, std::int64_t last) {
  if (last < first) return 0;
  std::uint8_t run[1024];
  const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(last - first + 1, 1024));
  return ParseDecimal(run, reader.Read(first, wanted, run));
}

}  // namespace tarnwick

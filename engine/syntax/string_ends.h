#pragma once

#include <cstdint>
#include <vector>

#include "engine_limits.h"
#include "source_reader.h"

namespace tarnwick {

// Where the strings that the trailer walks step over end. Walks that start inside one another's
// strings ask about the same bytes again and again, so both answers are found by one forward
// pass over the source: the next '>' for a hexadecimal string, and for a literal string the ')'
// that balances its '(' (a backslash escapes the next byte), from a stack of open parentheses.
class StringEnds {
 public:
  explicit StringEnds(SourceReader& source) : source_(source) {}

  // The byte after the first '>' after `open`, or the source length.
  std::int64_t AfterHexString(std::int64_t open);
  // The byte after the ')' that balances the '(' at `open`, or the source length.
  std::int64_t AfterLiteralString(std::int64_t open);

 private:
  std::int64_t ScanLiteralString(std::int64_t open);
  void ReadUpTo(std::int64_t position);  // until the byte at `position` has been read
  void ReadByte();

  SourceReader& source_;
  std::int64_t hexQuery_ = -1;
  std::int64_t hexEnd_ = -1;

  bool passStarted_ = false;
  bool passGivenUp_ = false;
  std::int64_t passAt_ = 0;          // the next byte the pass reads
  std::vector<std::int64_t> opens_;  // positions of '(' the pass met, ascending
  std::vector<std::int64_t> ends_;   // per open: the byte after its ')', or -1 while open
  std::vector<std::size_t> stack_;   // indexes of the parentheses still open
};

}  // namespace tarnwick

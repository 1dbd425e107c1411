// The new one-level page tree: one Pages object listing every page whose content streams were
// all found.
#include <algorithm>

#include "byte_classes.h"
#include "decimal.h"
#include "object_numbers.h"
#include "rebuild_pass.h"
#include "source_numbers.h"

namespace tarnwick {

namespace {

// A hostile file can make its overlapping Kids arrays name far more pages than any reader
// accepts; the list stops there.
constexpr std::int64_t kMaxListedKids = kMaxObjectNumber;

}  // namespace

void RebuildPass::WritePagesObject() {
  xrefEntries_.emplace_back(static_cast<std::int64_t>(summary_.newPagesNumber), output_.Length());
  output_.Write(FormatDecimal(summary_.newPagesNumber));
  output_.Write(" 0 obj\n<< \n   /Type /Pages\n   /Kids [");
  std::int64_t count = 0;
  auto listPage = [&](std::int64_t number) {
    output_.Write(FormatDecimal(static_cast<std::uint64_t>(number)));
    output_.Write(" 0 R ");
    ++count;
  };
  if (!results_.pages.empty()) {
    // Pages in the order their dictionaries were found, each as often as it was found, when one
    // of its versions has all its content streams.
    for (const std::int64_t number : results_.pages) {
      if (PassingRecords(number) > 0) listPage(number);
    }
  } else {
    // Without page dictionaries the old Kids arrays name the pages, newest entry first, each
    // once per version that has all its content streams. Overlapping arrays share references,
    // so entries that list nothing are jumped over rather than visited one by one.
    const auto& references = results_.kidsReferences;
    std::vector<std::int64_t> listedAtOrBefore(references.size());
    for (std::size_t i = 0; i < references.size(); ++i) {
      const bool lists = PassingRecords(references[i].number) > 0;
      listedAtOrBefore[i] =
          lists ? static_cast<std::int64_t>(i) : (i ? listedAtOrBefore[i - 1] : -1);
    }
    for (auto array = results_.kidsArrays.rbegin(); array != results_.kidsArrays.rend(); ++array) {
      const auto first = static_cast<std::int64_t>(array->first);
      for (std::int64_t i = listedAtOrBefore[array->first + array->count - 1];
           i >= first && count<kMaxListedKids; i = i> 0 ? listedAtOrBefore[i - 1] : -1) {
        const std::int64_t number = references[static_cast<std::size_t>(i)].number;
        for (std::int64_t n = PassingRecords(number); n > 0 && count < kMaxListedKids; --n) {
          listPage(number);
        }
      }
    }
  }
  output_.Write(" ]\n/Count ");
  output_.Write(FormatDecimal(static_cast<std::uint64_t>(count)));
  output_.Write("\n>>\nendobj\n");
}

std::int64_t RebuildPass::PassingRecords(std::int64_t number) {
  if (!IsListableNumber(number)) return 0;
  const auto known = passingRecords_.find(number);
  if (known != passingRecords_.end()) return known->second;
  std::int64_t passing = 0;
  const auto records = recordsByNumber_.find(number);
  if (records != recordsByNumber_.end()) {
    for (const std::size_t record : records->second) {
      const ObjectRecord& object = results_.objects[record];
      // A version that is not copied (an unpacked object stream) cannot be listed.
      if (!IsCopiedKind(object, encryptionSeen_)) continue;
      if (PageContentsPresent(ReaderOf(object), object.start, object.end)) ++passing;
    }
  }
  passingRecords_.emplace(number, passing);
  return passing;
}

bool RebuildPass::PageContentsPresent(SourceReader& reader, std::uint64_t start,
                                      std::uint64_t end) {
  const auto stop = static_cast<std::int64_t>(end);
  std::vector<std::int64_t> references;
  bool valueEnded = false;  // once set, later "Contents" keys of the object add nothing
  for (auto p = static_cast<std::int64_t>(start); p < stop; ++p) {
    if (!reader.Matches(p, "Contents")) continue;
    p += 8;
    int c = reader.ByteAt(p);
    for (;;) {
      if (c == '/' || p >= stop) break;
      while (c != 'R') {
        c = reader.ByteAt(++p);
        if (c == '/' || p >= stop) {
          valueEnded = true;
          break;
        }
      }
      if (valueEnded) break;
      // A reference "12 0 R": the digits end four bytes before the R.
      std::int64_t digit = p - 4;
      while (IsDigit(reader.ByteAt(digit))) --digit;
      const std::int64_t firstDigit = digit + 1;
      const std::int64_t digitCount = p - 4 - digit;
      // Only the last eight digits are read; more cannot name an object anyway.
      const std::int64_t parsedFrom = firstDigit + std::max<std::int64_t>(0, digitCount - 8);
      references.push_back(ParseSourceRun(reader, parsedFrom, p - 4));
      p = firstDigit + digitCount + 4;
      c = reader.ByteAt(p);
    }
  }
  return std::all_of(references.begin(), references.end(),
                     [&](std::int64_t number) { return recordsByNumber_.contains(number); });
}

}  // namespace tarnwick

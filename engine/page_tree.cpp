// The new one-level page tree: one Pages object listing every page whose content streams were
// all found.
#include <algorithm>

#include "object_numbers.h"
#include "rebuild_index.h"

namespace tarnwick {

namespace {

// A hostile file can make its overlapping Kids arrays name far more pages than any reader
// accepts; the list stops there.
constexpr std::int64_t kMaxListedKids = kMaxObjectNumber;

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

void PDF_Repair::WritePagesObject() {
  RebuildIndex& index = *index_;
  xrefEntries_.emplace_back(static_cast<std::int64_t>(results_.newPagesNumber), output_->Length());
  output_->Write(FormatDecimal(results_.newPagesNumber));
  output_->Write(" 0 obj\n<< \n   /Type /Pages\n   /Kids [");

  auto recordPasses = [&](std::size_t record) {
    auto& check = index.contentsChecked[record];
    if (check == RebuildIndex::Check::kUnknown) {
      const ObjectRecord& object = results_.objects[record];
      check = PageContentsPresent(object.start, object.end) ? RebuildIndex::Check::kPresent
                                                            : RebuildIndex::Check::kMissing;
    }
    return check == RebuildIndex::Check::kPresent;
  };
  auto recordsOf = [&](std::int64_t number) -> const std::vector<std::size_t>* {
    const auto found = index.recordsByNumber.find(number);
    return found == index.recordsByNumber.end() ? nullptr : &found->second;
  };
  std::int64_t count = 0;
  auto listPage = [&](std::int64_t number) {
    output_->Write(FormatDecimal(static_cast<std::uint64_t>(number)));
    output_->Write(" 0 R ");
    ++count;
  };

  if (!results_.pages.empty()) {
    // Pages in the order their dictionaries were found, each once per listing in the page list,
    // when one of its versions (newest first) has all its content streams.
    for (const std::int64_t number : results_.pages) {
      const auto* records = IsListableNumber(number) ? recordsOf(number) : nullptr;
      if (records && std::any_of(records->begin(), records->end(), recordPasses)) listPage(number);
    }
  } else {
    // Without page dictionaries, the old Kids arrays name the pages: every passing version of
    // each is listed.
    for (const KidsEntry& entry : results_.KidsList()) {
      const auto* records = IsListableNumber(entry.number) ? recordsOf(entry.number) : nullptr;
      if (!records) continue;
      for (const std::size_t record : *records) {
        if (count < kMaxListedKids && recordPasses(record)) listPage(entry.number);
      }
    }
  }
  output_->Write(" ]\n/Count ");
  output_->Write(FormatDecimal(static_cast<std::uint64_t>(count)));
  output_->Write("\n>>\nendobj\n");
}

bool PDF_Repair::PageContentsPresent(std::uint64_t start, std::uint64_t end) {
  const auto stop = static_cast<std::int64_t>(end);
  std::vector<std::int64_t> references;
  bool valueEnded = false;  // once set, later "Contents" keys of the object add nothing
  for (auto p = static_cast<std::int64_t>(start); p < stop; ++p) {
    if (!source_->Matches(p, "Contents")) continue;
    p += 8;
    int c = source_->ByteAt(p);
    for (;;) {
      if (c == '/' || p >= stop) break;
      while (c != 'R') {
        c = source_->ByteAt(++p);
        if (c == '/' || p >= stop) {
          valueEnded = true;
          break;
        }
      }
      if (valueEnded) break;
      // A reference "12 0 R": the digits end four bytes before the R.
      std::int64_t digit = p - 4;
      while (IsDigit(source_->ByteAt(digit))) --digit;
      const std::int64_t firstDigit = digit + 1;
      const std::int64_t digitCount = p - 4 - digit;
      // Only the last eight digits are read; more cannot name an object anyway.
      const std::int64_t parsedFrom = firstDigit + std::max<std::int64_t>(0, digitCount - 8);
      references.push_back(ParseSourceRun(parsedFrom, p - 4));
      p = firstDigit + digitCount + 4;
      c = source_->ByteAt(p);
    }
  }
  return std::all_of(references.begin(), references.end(),
                     [&](std::int64_t number) { return index_->tableNumbers.contains(number); });
}

}  // namespace tarnwick

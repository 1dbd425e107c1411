// The new one-level page tree: one Pages object listing every page whose content streams were
// all found, each once, in the order of the old page tree where it can be read.
#include <algorithm>
#include <numeric>

#include "byte_classes.h"
#include "decimal.h"
#include "engine_limits.h"
#include "object_numbers.h"
#include "rebuild_pass.h"
#include "source_numbers.h"
#include "tree_dictionary.h"

namespace tarnwick {

void RebuildPass::WritePagesObject() {
  xrefEntries_.push_back({static_cast<std::int64_t>(summary_.newPagesNumber), output_.Length(), 0});
  output_.Write(FormatDecimal(summary_.newPagesNumber));
  output_.Write(" 0 obj\n<< \n   /Type /Pages\n   /Kids [");
  std::int64_t count = 0;
  std::unordered_set<std::int64_t> listed;
  auto listPage = [&](std::int64_t number) {
    if (!IsListableNumber(number) || listed.contains(number) || !PagePasses(number)) return;
    listed.insert(number);
    output_.Write(FormatDecimal(static_cast<std::uint64_t>(number)));
    output_.WriteByte(' ');
    output_.Write(FormatDecimal(NewestRecord(number)->generation));
    output_.Write(" R ");
    ++count;
  };
  if (!results_.pages.empty()) {
    // The document's order first, then the pages that the old tree does not reach, in the order
    // their dictionaries were found.
    for (const std::int64_t number : PageTreeLeaves()) {
      if (pageNumbers_.contains(number)) listPage(number);
    }
    for (const std::int64_t number : results_.pages) listPage(number);
  } else {
    // Without page dictionaries the old Kids arrays name the pages, newest entry first.
    // Overlapping arrays share references; a reference already looked at lists nothing new, so
    // each is looked at once, and the walk jumps over those seen (a union-find of the largest
    // unvisited index at or below each).
    const auto& references = results_.kidsReferences;
    std::vector<std::int64_t> unvisitedBelow(references.size());
    std::iota(unvisitedBelow.begin(), unvisitedBelow.end(), 0);
    auto unvisitedAtOrBelow = [&unvisitedBelow](std::int64_t i) {
      std::int64_t root = i;
      while (root >= 0 && unvisitedBelow[static_cast<std::size_t>(root)] != root) {
        root = unvisitedBelow[static_cast<std::size_t>(root)];
      }
      while (i > root) {
        const std::int64_t next = unvisitedBelow[static_cast<std::size_t>(i)];
        unvisitedBelow[static_cast<std::size_t>(i)] = root;
        i = next;
      }
      return root;
    };
    for (auto array = results_.kidsArrays.rbegin(); array != results_.kidsArrays.rend(); ++array) {
      const auto first = static_cast<std::int64_t>(array->first);
      for (std::int64_t i = unvisitedAtOrBelow(first + static_cast<std::int64_t>(array->count) - 1);
           i >= first; i = unvisitedAtOrBelow(i - 1)) {
        listPage(references[static_cast<std::size_t>(i)].number);
        unvisitedBelow[static_cast<std::size_t>(i)] = i - 1;
      }
    }
  }
  summary_.listedPages = static_cast<std::uint64_t>(count);
  output_.Write(" ]\n/Count ");
  output_.Write(FormatDecimal(static_cast<std::uint64_t>(count)));
  output_.Write("\n>>\nendobj\n");
}

std::vector<std::int64_t> RebuildPass::PageTreeLeaves() {
  std::vector<std::int64_t> leaves;
  const ObjectRecord* catalog =
      IsListableNumber(trailer_.root) ? NewestRecord(trailer_.root) : nullptr;
  if (!catalog) return leaves;
  const std::optional<TreeDictionary> entries =
      ReadTreeDictionary(ReaderOf(*catalog), static_cast<std::int64_t>(catalog->start),
                         static_cast<std::int64_t>(catalog->end));
  if (!entries || !entries->pages) return leaves;
  std::unordered_set<std::int64_t> visited;
  WalkPageTree(*entries->pages, 1, visited, leaves);
  return leaves;
}

void RebuildPass::WalkPageTree(std::int64_t number, int level,
                               std::unordered_set<std::int64_t>& visited,
                               std::vector<std::int64_t>& leaves) {
  // A node too deep is passed over without counting as visited: a shorter way may reach it.
  if (level > limits::kMaxTreeLevels || !IsListableNumber(number)) return;
  const ObjectRecord* record = NewestRecord(number);
  if (!record || !visited.insert(number).second) return;
  // Most nodes are pages, whose bytes hold no "Kids"; only the others need reading.
  if (!MayHoldKids(*record)) {
    leaves.push_back(number);
    return;
  }
  const std::optional<TreeDictionary> node =
      ReadTreeDictionary(ReaderOf(*record), static_cast<std::int64_t>(record->start),
                         static_cast<std::int64_t>(record->end));
  if (!node || !node->kids) {
    leaves.push_back(number);
    return;
  }
  for (const std::int64_t kid : *node->kids) WalkPageTree(kid, level + 1, visited, leaves);
}

bool RebuildPass::MayHoldKids(const ObjectRecord& record) const {
  // The scan looks for keywords from kScanStart on; an object that reaches below is read.
  if (record.origin != RecordOrigin::kUnpacked &&
      record.start < static_cast<std::uint64_t>(kScanStart)) {
    return true;
  }
  const auto& keywords = record.origin == RecordOrigin::kUnpacked ? results_.unpackedKidsKeywords
                                                                  : results_.kidsKeywords;
  const auto next =
      std::lower_bound(keywords.begin(), keywords.end(), static_cast<std::int64_t>(record.start));
  return next != keywords.end() && *next < static_cast<std::int64_t>(record.end);
}

bool RebuildPass::PagePasses(std::int64_t number) {
  const auto known = pagePasses_.find(number);
  if (known != pagePasses_.end()) return known->second;
  const ObjectRecord* record = NewestRecord(number);
  const bool passes =
      record && ContentsPresent(ContentReferences(ReaderOf(*record), record->start, record->end));
  pagePasses_.emplace(number, passes);
  return passes;
}

bool RebuildPass::ContentsPresent(const std::vector<std::int64_t>& references) const {
  return std::all_of(references.begin(), references.end(),
                     [&](std::int64_t number) { return recordNumbers_.Contains(number); });
}

std::vector<std::int64_t> RebuildPass::ContentReferences(SourceReader& reader, std::uint64_t start,
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
  return references;
}

}  // namespace tarnwick

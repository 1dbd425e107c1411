// The new one-level page tree: one Pages object listing every page whose content streams were
// all found, each once, in the order of the old page tree where it can be read.
#include <algorithm>
#include <numeric>

#include "decimal.h"
#include "engine_limits.h"
#include "object_numbers.h"
#include "tail_writer.h"
#include "tree_dictionary.h"

namespace tarnwick {

void TailWriter::WritePagesObject() {
  const ScanResults& results = plan_.Results();
  const std::uint64_t pagesNumber = plan_.NewPagesNumber();
  xrefEntries_.push_back({static_cast<std::int64_t>(pagesNumber), output_.Length(), 0});
  output_.Write(FormatDecimal(pagesNumber));
  output_.Write(" 0 obj\n<< \n   /Type /Pages\n   /Kids [");
  // A page is listed once: a flag per record index, as a number has one newest version.
  std::vector<bool> listed(results.objects.size());
  auto listPage = [&](std::int64_t number) {
    if (!IsListableNumber(number)) return;
    const std::optional<std::size_t> index = plan_.NewestIndex(number);
    if (!index || listed[*index] || !plan_.PagePassesAt(*index)) return;
    listed[*index] = true;
    output_.Write(FormatDecimal(static_cast<std::uint64_t>(number)));
    output_.WriteByte(' ');
    output_.Write(FormatDecimal(results.objects[*index].generation));
    output_.Write(" R ");
    summary_.listedPages.push_back(number);
  };
  if (!results.pages.empty()) {
    // The document's order first, then the pages that the old tree does not reach, in the order
    // their dictionaries were found.
    for (const std::int64_t number : PageTreeLeaves()) {
      if (plan_.IsPage(number)) listPage(number);
    }
    for (const std::int64_t number : results.pages) listPage(number);
  } else {
    // Without page dictionaries the old Kids arrays name the pages, newest entry first.
    // Overlapping arrays share references; a reference already looked at lists nothing new, so
    // each is looked at once, and the walk jumps over those seen (a union-find of the largest
    // unvisited index at or below each).
    const auto& references = results.kidsReferences;
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
    for (auto array = results.kidsArrays.rbegin(); array != results.kidsArrays.rend(); ++array) {
      const auto first = static_cast<std::int64_t>(array->first);
      for (std::int64_t i = unvisitedAtOrBelow(first + static_cast<std::int64_t>(array->count) - 1);
           i >= first; i = unvisitedAtOrBelow(i - 1)) {
        listPage(references[static_cast<std::size_t>(i)].number);
        unvisitedBelow[static_cast<std::size_t>(i)] = i - 1;
      }
    }
  }
  output_.Write(" ]\n/Count ");
  output_.Write(FormatDecimal(summary_.listedPages.size()));
  output_.Write("\n>>\nendobj\n");
}

std::vector<std::int64_t> TailWriter::PageTreeLeaves() {
  std::vector<std::int64_t> leaves;
  const ObjectRecord* catalog =
      IsListableNumber(plan_.Trailer().root) ? plan_.NewestRecord(plan_.Trailer().root) : nullptr;
  if (!catalog) return leaves;
  const std::optional<TreeDictionary> entries =
      ReadTreeDictionary(plan_.ReaderOf(*catalog), static_cast<std::int64_t>(catalog->start),
                         static_cast<std::int64_t>(catalog->end));
  if (!entries || !entries->pages) return leaves;
  std::vector<bool> visited(plan_.Results().objects.size());
  WalkPageTree(*entries->pages, 1, visited, leaves);
  return leaves;
}

void TailWriter::WalkPageTree(std::int64_t number, int level, std::vector<bool>& visited,
                               std::vector<std::int64_t>& leaves) {
  // A node too deep is passed over without counting as visited: a shorter way may reach it.
  if (level > limits::kMaxTreeLevels || !IsListableNumber(number)) return;
  const std::optional<std::size_t> index = plan_.NewestIndex(number);
  if (!index || visited[*index]) return;
  visited[*index] = true;
  const ObjectRecord* record = &plan_.Results().objects[*index];
  // Most nodes are pages, whose bytes hold no "Kids"; only the others need reading.
  if (!plan_.Results().MayHoldKids(*record)) {
    leaves.push_back(number);
    return;
  }
  const std::optional<TreeDictionary> node =
      ReadTreeDictionary(plan_.ReaderOf(*record), static_cast<std::int64_t>(record->start),
                         static_cast<std::int64_t>(record->end));
  if (!node || !node->kids) {
    leaves.push_back(number);
    return;
  }
  for (const std::int64_t kid : *node->kids) WalkPageTree(kid, level + 1, visited, leaves);
}

}  // namespace tarnwick

#include "old_page_tree.h"

#include "engine_limits.h"
#include "object_numbers.h"
#include "pdf_syntax.h"
#include "tree_dictionary.h"

namespace tarnwick {

namespace {

class TreeWalk {
 public:
  TreeWalk(ScanIndex& index, OldPageTree& tree)
      : index_(index), tree_(tree), visited_(index.Results().objects.size()) {}

  void Walk(std::int64_t number, int level) {
    const ObjectRecord* record = IsListableNumber(number) ? index_.Newest(number) : nullptr;
    if (!record) {
      tree_.state = PageTreeState::kBroken;
      tree_.leaves.push_back(0);
      return;
    }
    const auto slot = static_cast<std::size_t>(record - index_.Results().objects.data());
    if (level > limits::kMaxTreeLevels || visited_[slot]) {
      tree_.state = PageTreeState::kBroken;
      return;
    }
    visited_[slot] = true;
    // Most nodes are pages, whose bytes hold no "Kids"; only the others need reading.
    std::optional<TreeDictionary> node;
    if (index_.Results().MayHoldKids(*record)) node = Read(*record);
    if (!node || !node->kids) {
      tree_.leaves.push_back(number);
      return;
    }
    for (const std::int64_t kid : *node->kids) Walk(kid, level + 1);
  }

  std::optional<TreeDictionary> Read(const ObjectRecord& record) {
    return ReadTreeDictionary(index_.ReaderOf(record), static_cast<std::int64_t>(record.start),
                              static_cast<std::int64_t>(record.end));
  }

 private:
  ScanIndex& index_;
  OldPageTree& tree_;
  std::vector<bool> visited_;
};

// The root node's /Count, when it is a number no larger than the objects found could hold.
std::uint64_t CountOf(ScanIndex& index, const ObjectRecord& root) {
  SourceReader& reader = index.ReaderOf(root);
  PdfSyntax syntax(reader, static_cast<std::int64_t>(root.end));
  const std::optional<std::int64_t> body = syntax.AfterObjectHeader(static_cast<std::int64_t>(root.start));
  const std::optional<PdfDictionary> node = body ? syntax.ReadDictionary(*body) : std::nullopt;
  const PdfValue* count = node ? node->Find("Count") : nullptr;
  if (!count || count->kind != PdfValue::Kind::kInteger || count->integer < 0 ||
      static_cast<std::uint64_t>(count->integer) > index.Results().objects.size()) {
    return 0;
  }
  return static_cast<std::uint64_t>(count->integer);
}

}  // namespace

OldPageTree ReadOldPageTree(ScanIndex& index, std::int64_t root) {
  OldPageTree tree;
  const ObjectRecord* catalog = IsListableNumber(root) ? index.Newest(root) : nullptr;
  if (!catalog) return tree;
  TreeWalk walk(index, tree);
  const std::optional<TreeDictionary> entries = walk.Read(*catalog);
  const ObjectRecord* top =
      entries && entries->pages && IsListableNumber(*entries->pages) ? index.Newest(*entries->pages)
                                                                      : nullptr;
  if (!top) {
    tree.state = PageTreeState::kMissing;
    return tree;
  }
  walk.Walk(*entries->pages, 1);
  tree.count = CountOf(index, *top);
  if (tree.count > tree.leaves.size()) tree.state = PageTreeState::kBroken;
  return tree;
}

}  // namespace tarnwick

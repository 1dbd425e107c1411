// Pages lose their old page tree in the repair, and with it whatever they inherited from it.
// What a page does not say itself but an old ancestor does is written into the page instead.
#include <array>
#include <string_view>

#include "byte_classes.h"
#include "engine_limits.h"
#include "object_numbers.h"
#include "object_copier.h"

namespace tarnwick {

namespace {

constexpr std::array<std::string_view, 4> kInheritable = {"Resources", "MediaBox", "CropBox",
                                                          "Rotate"};
using limits::kMaxAncestors;

std::int64_t ParentNumber(const PdfDictionary& dictionary) {
  const PdfValue* parent = dictionary.Find("Parent");
  return parent && parent->kind == PdfValue::Kind::kReference ? parent->integer : 0;
}

}  // namespace

std::optional<std::int64_t> ObjectCopier::SoleParentNumber(const ObjectRecord& page) {
  const auto size = static_cast<std::size_t>(page.end - page.start);
  const std::span<const std::uint8_t> bytes =
      plan_.ReaderOf(page).View(static_cast<std::int64_t>(page.start), size);
  if (bytes.size() != size) return std::nullopt;  // across a block border: read it properly
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  static constexpr std::string_view kParent = "/Parent";
  const std::size_t key = text.find(kParent);
  if (key == std::string_view::npos || text.find(kParent, key + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  std::size_t digit = key + kParent.size();
  while (digit < text.size() && IsPdfSpace(text[digit])) ++digit;
  std::int64_t number = 0;
  for (; digit < text.size() && IsDigit(text[digit]) && number <= kMaxObjectNumber; ++digit) {
    number = number * 10 + (text[digit] - '0');
  }
  return number;
}

bool ObjectCopier::AncestorsHandDown(std::int64_t parent) {
  for (int level = 0; level < kMaxAncestors && IsListableNumber(parent); ++level) {
    const TreeNode& node = TreeNodeOf(parent);
    for (const std::string& attribute : node.attributes) {
      if (!attribute.empty()) return true;
    }
    parent = node.parent;
  }
  return false;
}

std::string ObjectCopier::InheritedEntries(const ObjectRecord& page) {
  // Most pages inherit nothing, and reading each one's dictionary would cost more than the rest
  // of its copy. When the page's bytes hold a single "/Parent", it is the page's own parent if
  // the page has one at all; when that parent's line hands nothing down, neither reading can
  // give anything.
  if (const std::optional<std::int64_t> parent = SoleParentNumber(page);
      parent && !AncestorsHandDown(*parent)) {
    return {};
  }
  const std::optional<PdfDictionary> own = plan_.DictionaryOf(page);
  if (!own) return {};
  std::array<std::string, kInheritable.size()> found;
  std::array<bool, kInheritable.size()> missing{};
  bool anyMissing = false;
  for (std::size_t k = 0; k < kInheritable.size(); ++k) {
    missing[k] = own->Find(kInheritable[k]) == nullptr;
    anyMissing = anyMissing || missing[k];
  }
  std::int64_t parent = ParentNumber(*own);
  for (int level = 0; level < kMaxAncestors && anyMissing && IsListableNumber(parent); ++level) {
    const TreeNode& node = TreeNodeOf(parent);
    anyMissing = false;
    for (std::size_t k = 0; k < kInheritable.size(); ++k) {
      if (missing[k] && !node.attributes[k].empty()) {
        found[k] = node.attributes[k];
        missing[k] = false;
      }
      anyMissing = anyMissing || missing[k];
    }
    parent = node.parent;
  }
  std::string entries;
  for (std::size_t k = 0; k < kInheritable.size(); ++k) {
    if (found[k].empty()) continue;
    entries += " /";
    entries += kInheritable[k];
    entries += ' ';
    entries += found[k];
  }
  // Large values inherited by very many pages could multiply the output; past the budget pages
  // keep only what they have themselves.
  if (entries.size() > inheritedBytesLeft_) return {};
  inheritedBytesLeft_ -= entries.size();
  return entries;
}

const ObjectCopier::TreeNode& ObjectCopier::TreeNodeOf(std::int64_t number) {
  const auto known = treeNodes_.find(number);
  if (known != treeNodes_.end()) return known->second;
  TreeNode node;
  if (const ObjectRecord* record = plan_.NewestRecord(number)) {
    if (const std::optional<PdfDictionary> dictionary = plan_.DictionaryOf(*record)) {
      SourceReader& reader = plan_.ReaderOf(*record);
      for (std::size_t k = 0; k < kInheritable.size(); ++k) {
        if (const PdfValue* value = dictionary->Find(kInheritable[k])) {
          const auto raw =
              reader.ReadVector(value->begin, static_cast<std::size_t>(value->end - value->begin));
          node.attributes[k].assign(raw.begin(), raw.end());
          // What the pages inherit is mended like what they hold themselves.
          if (plan_.Mending()) {
            MendedValue mended = MendValue(raw, true, referenceRepair_);
            if (mended.verdict == MendedValue::Verdict::kMended) {
              NoteObjectMends(number, mended.mends);
              node.attributes[k] = mended.text == "null" ? std::string() : std::move(mended.text);
            }
          }
        }
      }
      node.parent = ParentNumber(*dictionary);
    }
  }
  return treeNodes_.emplace(number, std::move(node)).first->second;
}

}  // namespace tarnwick

#include "source_diagnosis.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "byte_classes.h"
#include "object_numbers.h"
#include "pdf_syntax.h"
#include "xref_check.h"

namespace tarnwick {

namespace {

// Readers accept a header anywhere in the first kilobyte; past it there is none.
constexpr std::size_t kHeaderWindow = 1024;

bool LosesContent(ObjectMendKind kind) {
  switch (kind) {
    case ObjectMendKind::kValueCut:
    case ObjectMendKind::kLeftOut:
    case ObjectMendKind::kFontReplaced:
    case ObjectMendKind::kXObjectReplaced:
    case ObjectMendKind::kContentDropped:
      return true;
    case ObjectMendKind::kReferenceNulled:  // a reference to nothing means null to any reader
    case ObjectMendKind::kDuplicateKey:
      return false;
  }
  return false;
}

bool LosesContent(StreamMend mend) {
  return mend == StreamMend::kContentCut || mend == StreamMend::kContentEmptied;
}

// Positions as runs of consecutive ones.
void AddPosition(std::vector<PageRange>& ranges, std::uint64_t position) {
  if (!ranges.empty() && ranges.back().last + 1 == position) {
    ranges.back().last = position;
  } else {
    ranges.push_back({position, position});
  }
}

}  // namespace

SourceDiagnosis::SourceDiagnosis(SourceReader& source, const ScanResults& results)
    : source_(source), results_(results) {}

ScanIndex& SourceDiagnosis::Index() {
  if (!index_) index_.emplace(results_, source_);
  return *index_;
}

void SourceDiagnosis::Diagnose(EncryptionState encryption, RepairOutcome& outcome) {
  SourceFindings findings;
  findings.header = ReadHeader();
  XrefFindings xref = CheckXref(source_, Index(), headerOffset_);
  findings.xref = xref.xref;
  findings.startxref = xref.startxref;
  findings.wrongOffsetCount = xref.wrongOffsetCount;
  findings.wrongOffsets = std::move(xref.wrongOffsets);
  findings.lostObjectCount = xref.lostObjectCount;
  sectionRoot_ = xref.root;
  findings.trailer = ReadTrailerState();
  if (findings.trailer == TrailerState::kIntact && xref.trailerDamaged) {
    findings.trailer = TrailerState::kDamaged;
  }
  tree_ = ReadOldPageTree(Index(), RootNumber());
  findings.pageTree = tree_.state;
  CheckEnd(findings);
  findings.encryption = encryption;
  outcome.source = std::move(findings);
  outcome.found.objects = results_.objects.size();
  outcome.found.versionsDropped = Index().VersionsDropped();
  outcome.found.pagesInOldTree = tree_.Pages();
  // The copy plans its own tables; this one is made again only if a mend needs it.
  index_.reset();
}

HeaderState SourceDiagnosis::ReadHeader() {
  std::array<std::uint8_t, kHeaderWindow> bytes{};
  const std::size_t got = source_.Read(0, bytes.size(), bytes.data());
  const std::string_view head(reinterpret_cast<const char*>(bytes.data()), got);
  const std::size_t at = head.find("%PDF-");
  if (at == std::string_view::npos) return HeaderState::kMissing;
  headerOffset_ = static_cast<std::int64_t>(at);
  const bool versioned = at + 8 <= head.size() && IsDigit(head[at + 5]) && head[at + 6] == '.' &&
                         IsDigit(head[at + 7]);
  if (!versioned) return HeaderState::kDamaged;
  return at == 0 ? HeaderState::kIntact : HeaderState::kAfterJunk;
}

std::int64_t SourceDiagnosis::RootNumber() const {
  const ScanResults& results = results_;
  if (results.trailer && results.trailer->root > 0) return results.trailer->root;
  if (IsListableNumber(sectionRoot_)) return sectionRoot_;
  for (auto stream = results.xrefStreams.rbegin(); stream != results.xrefStreams.rend(); ++stream) {
    if (stream->root > 0) return stream->root;
  }
  return results.catalogNumber;
}

TrailerState SourceDiagnosis::ReadTrailerState() {
  const ScanResults& results = results_;
  if (!results.trailer && results.xrefStreams.empty()) return TrailerState::kMissing;
  const bool rooted =
      (results.trailer && results.trailer->root > 0) || IsListableNumber(sectionRoot_) ||
      std::any_of(results.xrefStreams.begin(), results.xrefStreams.end(),
                  [](const XrefStreamRecord& stream) { return stream.root > 0; });
  if (!rooted) return TrailerState::kWithoutRoot;
  return Index().Newest(RootNumber()) ? TrailerState::kIntact : TrailerState::kRootLost;
}

void SourceDiagnosis::CheckEnd(SourceFindings& findings) {
  const ObjectRecord* last = Index().LastPlainRecord();
  const auto length = static_cast<std::uint64_t>(source_.Length());
  if (last && last->end >= length) {
    findings.truncated = true;
    findings.openObjectNumber = last->number;
    findings.openObjectOffset = last->start;
    return;
  }
  const std::int64_t floor = last ? static_cast<std::int64_t>(last->end) : 0;
  for (std::int64_t at = source_.Length() - 5; at >= floor; --at) {
    if (source_.ByteAt(at) == '%' && source_.Matches(at, "%%EOF")) return;
  }
  findings.truncated = true;
}

std::optional<std::uint64_t> SourceDiagnosis::PlainOffset(std::int64_t number) {
  const ObjectRecord* record = Index().Newest(number);
  if (!record || record->origin != RecordOrigin::kSource) return std::nullopt;
  return record->start;
}

void SourceDiagnosis::RecordRebuild(const RebuildSummary& rebuilt, RepairOutcome& outcome) {
  FoundCounts& found = outcome.found;
  found.pagesRecovered = rebuilt.listedPages.size();
  std::vector<std::int64_t> listed = rebuilt.listedPages;
  std::sort(listed.begin(), listed.end());
  auto isListed = [&listed](std::int64_t number) {
    return number != 0 && std::binary_search(listed.begin(), listed.end(), number);
  };
  std::uint64_t position = 0;
  std::uint64_t keptFromTree = 0;
  for (const std::int64_t leaf : tree_.leaves) {
    ++position;
    if (isListed(leaf)) {
      ++keptFromTree;
    } else {
      AddPosition(found.lostPages, position);
    }
  }
  // Pages the tree counts but does not reach may be among those the copy lists from outside
  // it; the rest are lost at the tree's end.
  std::vector<std::int64_t> leaves = tree_.leaves;
  std::sort(leaves.begin(), leaves.end());
  const auto outsideTree = static_cast<std::uint64_t>(std::count_if(
      listed.begin(), listed.end(),
      [&leaves](std::int64_t n) { return !std::binary_search(leaves.begin(), leaves.end(), n); }));
  const std::uint64_t unreached = tree_.Pages() - tree_.leaves.size();
  for (std::uint64_t lost = unreached - std::min(unreached, outsideTree); lost > 0; --lost) {
    AddPosition(found.lostPages, tree_.Pages() - lost + 1);
  }

  MendsFound& mended = outcome.mended;
  bool losses = !found.lostPages.empty();
  for (const MendedStream& stream : rebuilt.mendedStreams) {
    mended.streams.push_back({stream.number, stream.mend, PlainOffset(stream.number)});
    losses = losses || LosesContent(stream.mend);
  }
  for (const ObjectMend& object : rebuilt.mendedObjects) {
    mended.objects.push_back({object.number, object.kind, object.target, PlainOffset(object.number)});
    losses = losses || LosesContent(object.kind);
  }
  mended.pagesKeptInPart = PagesKeptInPart(rebuilt);
  if (rebuilt.listedPages.empty()) {
    outcome.status = RepairStatus::kNoPageRecovered;
  } else {
    outcome.status = losses ? RepairStatus::kRepairedWithLosses : RepairStatus::kRepaired;
  }
}

std::vector<std::int64_t> SourceDiagnosis::PagesKeptInPart(const RebuildSummary& rebuilt) {
  std::vector<std::int64_t> pages;
  for (const ObjectMend& object : rebuilt.mendedObjects) {
    if (object.kind == ObjectMendKind::kContentDropped) pages.push_back(object.number);
  }
  std::vector<std::int64_t> damaged;
  for (const MendedStream& stream : rebuilt.mendedStreams) {
    if (LosesContent(stream.mend)) damaged.push_back(stream.number);
  }
  std::sort(damaged.begin(), damaged.end());
  // Only then are the pages' /Contents read again, to find whose content the damage was.
  for (std::size_t i = 0; !damaged.empty() && i < rebuilt.listedPages.size(); ++i) {
    const std::int64_t page = rebuilt.listedPages[i];
    const ObjectRecord* record = Index().Newest(page);
    if (!record) continue;
    SourceReader& reader = Index().ReaderOf(*record);
    PdfSyntax syntax(reader, static_cast<std::int64_t>(record->end));
    const std::optional<std::int64_t> body =
        syntax.AfterObjectHeader(static_cast<std::int64_t>(record->start));
    const std::optional<PdfDictionary> dictionary =
        body ? syntax.ReadDictionary(*body) : std::nullopt;
    const PdfValue* contents = dictionary ? dictionary->Find("Contents") : nullptr;
    if (!contents) continue;
    std::vector<PdfValue> items{*contents};
    if (contents->kind == PdfValue::Kind::kArray) {
      items = syntax.ReadArray(contents->begin).value_or(std::vector<PdfValue>{});
    }
    if (std::any_of(items.begin(), items.end(), [&damaged](const PdfValue& item) {
          return item.kind == PdfValue::Kind::kReference &&
                 std::binary_search(damaged.begin(), damaged.end(), item.integer);
        })) {
      pages.push_back(page);
    }
  }
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  return pages;
}

}  // namespace tarnwick

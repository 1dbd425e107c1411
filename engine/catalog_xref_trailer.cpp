// The tail of the repaired file: the new catalog, the cross-reference table, the trailer and
// the startxref section.
#include <algorithm>
#include <cstring>

#include "byte_classes.h"
#include "decimal.h"
#include "literal_string.h"
#include "object_numbers.h"
#include "rebuild_pass.h"

namespace tarnwick {

namespace {

constexpr std::size_t kIdentifierReach = 1024;
// Where the decode-parameter runs are taken from: fixed places in the source.
constexpr std::int64_t kEncryptRunOffset = 166;
constexpr std::size_t kEncryptRunLength = 15;
constexpr std::int64_t kIdRunOffset = 200;
constexpr std::size_t kIdRunLength = 73;

// Reads a run of bytes front to back; every test fails past its end.
class RunCursor {
 public:
  RunCursor(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  std::size_t Position() const { return at_; }
  int Peek() const { return at_ < size_ ? bytes_[at_] : -1; }
  bool Take(char expected) {
    if (Peek() != static_cast<unsigned char>(expected)) return false;
    ++at_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    for (const char c : word) {
      if (!Take(c)) return false;
    }
    return true;
  }
  std::size_t SkipWhile(bool (*keep)(int)) {
    const std::size_t from = at_;
    while (at_ < size_ && keep(bytes_[at_])) ++at_;
    return at_ - from;
  }
  // A string of an identifier: "<" hexadecimal digits and white space ">", or "(" up to the
  // ")" that balances it, a backslash escaping the next byte.
  bool TakeString() {
    if (Take('<')) {
      while (IsHexDigit(Peek()) || IsPdfSpace(Peek())) ++at_;
      return Take('>');
    }
    if (Peek() != '(') return false;
    const std::int64_t end = LiteralStringEnd(
        static_cast<std::int64_t>(at_),
        [this](std::int64_t i) { return i < static_cast<std::int64_t>(size_) ? bytes_[i] : -1; });
    if (end < 0) return false;
    at_ = static_cast<std::size_t>(end);
    return true;
  }

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The value's decimal digits padded with leading zeros to `width`; only the first `width` digits
// of a longer number.
std::string PaddedDecimal(std::uint64_t value, std::size_t width) {
  std::string digits = FormatDecimal(value);
  if (digits.size() > width) digits.resize(width);
  return std::string(width - digits.size(), '0') + digits;
}

std::string_view Prefix(const std::vector<std::uint8_t>& bytes, std::size_t length) {
  return {reinterpret_cast<const char*>(bytes.data()), length};
}

// "/Encrypt N G R" at the start of the run, each gap holding white space.
std::string_view EncryptEntryAtStart(const std::vector<std::uint8_t>& run) {
  RunCursor cursor(run.data(), run.size());
  const bool ok = cursor.TakeWord("/Encrypt") && cursor.SkipWhile(IsPdfSpace) > 0 &&
                  cursor.SkipWhile(IsDigit) > 0 && cursor.SkipWhile(IsPdfSpace) > 0 &&
                  cursor.SkipWhile(IsDigit) > 0 && cursor.SkipWhile(IsPdfSpace) > 0 &&
                  cursor.Take('R');
  return ok ? Prefix(run, cursor.Position()) : std::string_view{};
}

// "/ID [<32 hex digits> <32 hex digits>]" at the start of the run.
std::string_view IdEntryAtStart(const std::vector<std::uint8_t>& run) {
  RunCursor cursor(run.data(), run.size());
  auto hexString = [&cursor] {
    return cursor.Take('<') && cursor.SkipWhile(IsHexDigit) == 32 && cursor.Take('>');
  };
  bool ok = cursor.TakeWord("/ID");
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.Take('['));
  ok = ok && (cursor.SkipWhile(IsPdfSpace), hexString());
  ok = ok && (cursor.SkipWhile(IsPdfSpace), hexString());
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.Take(']'));
  return ok ? Prefix(run, cursor.Position()) : std::string_view{};
}

}  // namespace

void RebuildPass::WriteCatalogObject() {
  TrailerRecord& trailer = trailer_;
  const std::int64_t sourceCatalog = trailer.root != 0 ? trailer.root : results_.catalogNumber;
  const std::string entries = IsListableNumber(sourceCatalog) ? CatalogEntries(sourceCatalog) : "";
  // Without a known Root the catalog takes the number after the new Pages object.
  if (trailer.root == 0) trailer.root = static_cast<std::int32_t>(summary_.newPagesNumber + 1);
  const auto root = static_cast<std::int64_t>(trailer.root);
  xrefEntries_.push_back({root, output_.Length(), 0});
  output_.Write(FormatDecimal(static_cast<std::uint64_t>(root)));
  output_.Write(" 0 obj\n<</Type/Catalog/Pages ");
  output_.Write(FormatDecimal(summary_.newPagesNumber));
  output_.Write(" 0 R");
  output_.Write(entries);
  output_.Write("\n>>\nendobj\n");
}

std::string RebuildPass::CatalogEntries(std::int64_t number) {
  const ObjectRecord* record = NewestRecord(number);
  if (!record) return {};
  const std::optional<PdfDictionary> dictionary = DictionaryOf(*record);
  if (!dictionary) return {};
  // A Root that names some other kind of object has no catalog entries to give.
  if (const PdfValue* type = dictionary->Find("Type"); type && !type->IsName("Catalog")) return {};
  SourceReader& reader = ReaderOf(*record);
  std::string entries;
  for (const PdfEntry& entry : dictionary->entries) {
    if (entry.key == "Type" || entry.key == "Pages") continue;
    const auto raw = reader.ReadVector(entry.keyBegin,
                                       static_cast<std::size_t>(entry.value.end - entry.keyBegin));
    entries += '\n';
    entries.append(raw.begin(), raw.end());
  }
  return entries;
}

std::int64_t RebuildPass::TrailerInfoNumber() {
  if (summary_.fallbackTrailer) return summary_.fallbackTrailer->info;
  if (!results_.trailer) return 0;
  constexpr std::int64_t kKeywordLength = 7;  // "trailer"
  PdfSyntax syntax(source_, source_.Length());
  const std::optional<PdfDictionary> dictionary = syntax.ReadDictionary(
      static_cast<std::int64_t>(results_.trailer->offset) + kKeywordLength);
  if (!dictionary) return 0;
  const PdfValue* info = dictionary->Find("Info");
  return info && info->kind == PdfValue::Kind::kReference ? info->integer : 0;
}

bool RebuildPass::WasCopied(std::int64_t number) const {
  if (!IsListableNumber(number)) return false;
  const std::optional<std::size_t> newest = newest_.Find(number);
  return newest && IsCopied(*newest);
}

void RebuildPass::WriteXrefTable() {
  xrefOffset_ = output_.Length() + 1;  // after the LF that precedes the keyword
  // One subsection from object 0 in number order; each number is written once.
  std::stable_sort(xrefEntries_.begin(), xrefEntries_.end(),
                   [](const auto& a, const auto& b) { return a.number < b.number; });
  const std::int64_t highest = xrefEntries_.empty() ? 0 : xrefEntries_.back().number;
  xrefSize_ = static_cast<std::uint64_t>(highest) + 1;
  output_.Write("\nxref\n0 ");
  output_.Write(FormatDecimal(xrefSize_));
  output_.Write("\n0000000000 65535 f \n");
  auto entry = xrefEntries_.begin();
  for (std::int64_t number = 1; number <= highest; ++number) {
    while (entry != xrefEntries_.end() && entry->number < number) ++entry;
    if (entry == xrefEntries_.end() || entry->number != number) {
      output_.Write("0000000000 00000 f \n");
      continue;
    }
    output_.Write(PaddedDecimal(entry->offset, 10));
    output_.WriteByte(' ');
    output_.Write(PaddedDecimal(entry->generation, 5));
    output_.Write(" n \n");
  }
}

void RebuildPass::WriteTrailer() {
  const TrailerRecord& trailer = trailer_;
  auto widened = [](std::int32_t value) {
    return FormatDecimal(static_cast<std::uint64_t>(static_cast<std::int64_t>(value)));
  };
  output_.Write(" \ntrailer\n<< \n/Size ");
  output_.Write(FormatDecimal(xrefSize_));
  output_.Write(" \n/Root ");
  output_.Write(widened(trailer.root));
  output_.Write(" 0 R  ");
  if (const std::int64_t info = TrailerInfoNumber(); WasCopied(info)) {
    output_.Write("/Info ");
    output_.Write(FormatDecimal(static_cast<std::uint64_t>(info)));
    output_.Write(" 0 R  ");
  }
  bool wroteEncrypt = false;
  if (protection_.encrypted) {
    output_.Write("/Encrypt ");
    output_.Write(widened(trailer.encrypt));
    output_.Write(" 0 R \r");
    protection_.encrypted = false;
    wroteEncrypt = true;
  }
  bool wroteId = false;
  if (protection_.identified) {
    const std::vector<std::uint8_t> id = IdentifierArrayAt(source_, protection_.identifierAt);
    if (!id.empty()) {
      output_.Write("\n/ID");
      output_.Write(id.data(), id.size());
      wroteId = true;
    }
    protection_.identified = false;
  }
  if (decodeParmsSeen_) {
    // Entries of an old-style trailer that a producer left at these places; taken only when
    // they hold what they are meant to and the trailer has not already got that key.
    const auto encryptRun = source_.ReadVector(kEncryptRunOffset, kEncryptRunLength);
    const auto idRun = source_.ReadVector(kIdRunOffset, kIdRunLength);
    if (!wroteEncrypt) output_.Write(EncryptEntryAtStart(encryptRun));
    if (!wroteId) output_.Write(IdEntryAtStart(idRun));
    decodeParmsSeen_ = false;
  }
  output_.Write("\r\n>>");
}

void RebuildPass::WriteStartXref() {
  output_.Write("\nstartxref\n");
  output_.Write(FormatDecimal(xrefOffset_.value_or(0)));
  output_.Write("\n%%EOF\n");
}

std::vector<std::uint8_t> IdentifierArrayAt(SourceReader& source, std::int64_t at) {
  std::int64_t open = at;
  while (open < source.Length() && IsPdfSpace(source.ByteAt(open))) ++open;
  const std::vector<std::uint8_t> bytes = source.ReadVector(open, kIdentifierReach);
  RunCursor cursor(bytes.data(), bytes.size());
  bool ok = cursor.Take('[');
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.TakeString());
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.TakeString());
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.Take(']'));
  if (!ok) return {};
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cursor.Position())};
}

}  // namespace tarnwick

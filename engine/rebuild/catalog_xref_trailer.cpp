// The tail of the repaired file: the new catalog, the cross-reference table, the trailer and
// the startxref section.
#include <algorithm>
#include <cstring>

#include "byte_classes.h"
#include "crypto.h"
#include "decimal.h"
#include "identifier_array.h"
#include "object_numbers.h"
#include "run_cursor.h"
#include "standard_security.h"
#include "tail_writer.h"
#include "value_mender.h"

namespace tarnwick {

namespace {

// A cross-reference entry holds ten decimal digits of offset.
constexpr std::uint64_t kLargestXrefOffset = 9'999'999'999;
// Where the decode-parameter runs are taken from: fixed places in the source.
constexpr std::int64_t kEncryptRunOffset = 166;
constexpr std::size_t kEncryptRunLength = 15;
constexpr std::int64_t kIdRunOffset = 200;
constexpr std::size_t kIdRunLength = 73;

// Puts the value's decimal digits padded with leading zeros to `width` at `out`; only the first
// `width` digits of a longer number. Tables of many thousand entries are written without a
// string made for each.
void PutPaddedDecimal(char* out, std::uint64_t value, std::size_t width) {
  char reversed[20];
  std::size_t n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  const std::size_t kept = std::min(n, width);
  std::fill(out, out + (width - kept), '0');
  for (std::size_t i = 0; i < kept; ++i) out[width - kept + i] = reversed[n - 1 - i];
}

// "[<h> <h>]": two copies of one fresh identifier, as a new file gets.
std::string FreshIdentifierArray() {
  std::uint8_t identifier[16];
  crypto::RandomBytes(identifier);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const std::uint8_t b : identifier) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return "[<" + hex + "><" + hex + ">]";
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

TailWriter::TailWriter(const CopyPlan& plan, SourceReader& source, OutputWriter& output,
                       RebuildSummary& summary)
    : plan_(plan),
      source_(source),
      output_(output),
      summary_(summary),
      protection_(plan.Protection()),
      decodeParmsSeen_(plan.Results().decodeParmsSeen) {}

void TailWriter::WriteCatalogObject() {
  TrailerRecord& trailer = summary_.trailer;
  const std::int64_t sourceCatalog =
      trailer.root != 0 ? trailer.root : plan_.Results().catalogNumber;
  const std::string entries = IsListableNumber(sourceCatalog) ? CatalogEntries(sourceCatalog) : "";
  // Without a known Root the catalog takes the number after the new Pages object.
  if (trailer.root == 0) trailer.root = static_cast<std::int32_t>(plan_.NewPagesNumber() + 1);
  const auto root = static_cast<std::int64_t>(trailer.root);
  xrefEntries_.push_back({root, output_.Length(), 0});
  output_.Write(FormatDecimal(static_cast<std::uint64_t>(root)));
  output_.Write(" 0 obj\n<</Type/Catalog/Pages ");
  output_.Write(FormatDecimal(plan_.NewPagesNumber()));
  output_.Write(" 0 R");
  output_.Write(entries);
  output_.Write("\n>>\nendobj\n");
}

bool TailWriter::OffsetsFitTable() const {
  // Entries are made in the order written, so the last has the largest offset.
  return xrefEntries_.empty() || xrefEntries_.back().offset <= kLargestXrefOffset;
}

std::string TailWriter::CatalogEntries(std::int64_t number) {
  const ObjectRecord* record = plan_.NewestRecord(number);
  if (!record) return {};
  const std::optional<PdfDictionary> dictionary = plan_.DictionaryOf(*record);
  if (!dictionary) return {};
  // A Root that names some other kind of object has no catalog entries to give.
  if (const PdfValue* type = dictionary->Find("Type"); type && !type->IsName("Catalog")) return {};
  SourceReader& reader = plan_.ReaderOf(*record);
  std::string entries;
  for (const PdfEntry& entry : dictionary->entries) {
    if (entry.key == "Type" || entry.key == "Pages") continue;
    const auto raw = reader.ReadVector(entry.keyBegin,
                                       static_cast<std::size_t>(entry.value.end - entry.keyBegin));
    if (plan_.Mending()) {
      const auto valueAt = static_cast<std::size_t>(entry.value.begin - entry.keyBegin);
      const MendedValue value =
          MendValue(std::span(raw).subspan(valueAt), true, plan_.Repair());
      if (value.verdict == MendedValue::Verdict::kMended) {
        for (ObjectMend mend : value.mends) {
          mend.number = plan_.OutputRoot();
          summary_.mendedObjects.push_back(mend);
        }
        // An entry whose value is a lost object is left out, as readers would take it.
        if (value.text == "null") continue;
        entries += '\n';
        entries.append(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(valueAt));
        entries += value.text;
        continue;
      }
    }
    entries += '\n';
    entries.append(raw.begin(), raw.end());
  }
  return entries;
}

void TailWriter::WriteReplacements() {
  auto used = [this](ObjectMendKind kind) {
    return std::any_of(summary_.mendedObjects.begin(), summary_.mendedObjects.end(),
                       [kind](const ObjectMend& mend) { return mend.kind == kind; });
  };
  if (used(ObjectMendKind::kFontReplaced)) {
    WriteObject(plan_.FontReplacementNumber(),
                "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
  }
  if (used(ObjectMendKind::kXObjectReplaced)) {
    // In an encrypted copy the form's data is encrypted too: under AES even nothing is a block
    // of padding, and zero bytes are no ciphertext at all. Without the key, a document with
    // crypt filters lets the form name the Identity filter and stand unencrypted; under RC4,
    // the only cipher of the others, nothing encrypts to nothing.
    std::vector<std::uint8_t> data;
    std::string filter;
    if (const StandardSecurity* security = plan_.Security()) {
      data = security->EncryptStream(plan_.FormReplacementNumber(), 0, {});
    } else if (plan_.Encrypted() && plan_.Protection().cryptFilters) {
      filter = "/Filter /Crypt /DecodeParms << /Name /Identity >> ";
    }
    std::string value = "<< /Type /XObject /Subtype /Form /BBox [0 0 0 0] " + filter +
                        "/Length " + FormatDecimal(data.size()) + " >>\nstream\n";
    value.append(data.begin(), data.end());
    value += "\nendstream";
    WriteObject(plan_.FormReplacementNumber(), value);
  }
}

void TailWriter::WriteObject(std::int64_t number, std::string_view value) {
  xrefEntries_.push_back({number, output_.Length(), 0});
  output_.Write(FormatDecimal(static_cast<std::uint64_t>(number)));
  output_.Write(" 0 obj\n");
  output_.Write(value);
  output_.Write("\nendobj\n");
}

std::int64_t TailWriter::TrailerInfoNumber() {
  if (plan_.FallbackTrailer()) return plan_.FallbackTrailer()->info;
  const std::optional<TrailerRecord>& trailer = plan_.Results().trailer;
  if (!trailer) return 0;
  constexpr std::int64_t kKeywordLength = 7;  // "trailer"
  PdfSyntax syntax(source_, source_.Length());
  const std::optional<PdfDictionary> dictionary = syntax.ReadDictionary(
      static_cast<std::int64_t>(trailer->offset) + kKeywordLength);
  if (!dictionary) return 0;
  const PdfValue* info = dictionary->Find("Info");
  return info && info->kind == PdfValue::Kind::kReference ? info->integer : 0;
}

void TailWriter::WriteXrefTable() {
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
    // "oooooooooo ggggg n" and the line end: twenty bytes.
    char line[20];
    PutPaddedDecimal(line, entry->offset, 10);
    line[10] = ' ';
    PutPaddedDecimal(line + 11, entry->generation, 5);
    std::memcpy(line + 16, " n \n", 4);
    output_.Write(std::string_view(line, sizeof line));
  }
}

void TailWriter::WriteTrailer() {
  const TrailerRecord& trailer = summary_.trailer;
  auto widened = [](std::int32_t value) {
    return FormatDecimal(static_cast<std::uint64_t>(static_cast<std::int64_t>(value)));
  };
  output_.Write(" \ntrailer\n<< \n/Size ");
  output_.Write(FormatDecimal(xrefSize_));
  output_.Write(" \n/Root ");
  output_.Write(widened(trailer.root));
  output_.Write(" 0 R  ");
  // A mended copy names no /Info that it left out.
  if (const std::int64_t info = TrailerInfoNumber();
      plan_.WasCopied(info) && (!plan_.Mending() || plan_.Holds(info))) {
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
  if (protection_.freshIdentifier) {
    output_.Write("\n/ID");
    output_.Write(FreshIdentifierArray());
    protection_.freshIdentifier = false;
    wroteId = true;
  }
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

void TailWriter::WriteStartXref() {
  output_.Write("\nstartxref\n");
  output_.Write(FormatDecimal(xrefOffset_));
  output_.Write("\n%%EOF\n");
}

}  // namespace tarnwick

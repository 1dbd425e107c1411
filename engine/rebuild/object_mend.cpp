// Objects that a strict reader would reject, written as what parses of them: damage cut off,
// containers closed, references to objects the copy does not hold resolved, a stream whose
// dictionary was mended or whose "endstream" is missing written with its true length. An object
// that parses whole and names only objects the copy holds never comes here twice: it is copied
// as it stands.
#include <algorithm>

#include "byte_classes.h"
#include "decimal.h"
#include "engine_limits.h"
#include "object_copier.h"
#include "content_prefix.h"
#include "stream_extent.h"

namespace tarnwick {

namespace {

// How far after a stream's dictionary the line end before its data is looked for.
constexpr std::int64_t kKeywordLineReach = 64;

}  // namespace

MendedValue ObjectCopier::MendWindow(SourceReader& reader, std::int64_t body, std::int64_t end,
                                     const std::vector<EntryEdit>& edits, bool rewrite) {
  const auto size = static_cast<std::size_t>(std::max<std::int64_t>(0, end - body));
  // Most values are short: the first window is a view into the reader's cache.
  std::size_t window = std::min(size, limits::kMendWindowBytes);
  std::span<const std::uint8_t> bytes = reader.View(body, window);
  std::vector<std::uint8_t> copy;
  if (bytes.size() < window) {
    copy = reader.ReadVector(body, window);
    bytes = copy;
  }
  MendedValue value = MendValue(bytes, window == size, referenceRepair_, edits, rewrite);
  if (value.verdict != MendedValue::Verdict::kTooLarge || window == size) return value;
  window = std::min(size, limits::kMaxMendedValueBytes);
  copy = reader.ReadVector(body, window);
  return MendValue(copy, window == size, referenceRepair_, edits, rewrite);
}

void ObjectCopier::NoteObjectMends(std::int64_t number, const std::vector<ObjectMend>& mends) {
  for (ObjectMend mend : mends) {
    mend.number = number;
    mendedObjects_.push_back(mend);
  }
}

bool ObjectCopier::CopyMendedObject(std::size_t index, bool isPage,
                                    const std::string& inherited) {
  const ObjectRecord& record = plan_.Results().objects[index];
  const std::optional<std::int64_t> body = plan_.CopiedBodyStart(index);
  if (!body) return false;
  SourceReader& reader = plan_.ReaderOf(record);
  const auto start = static_cast<std::int64_t>(record.start);
  const auto end = static_cast<std::int64_t>(record.end);
  std::vector<EntryEdit> edits;
  if (isPage) {
    edits.push_back({"Parent", FormatDecimal(plan_.NewPagesNumber()) + " 0 R" + inherited});
  }
  const MendedValue value = MendWindow(reader, *body, end, edits, false);
  const bool holdsStream = record.origin == RecordOrigin::kSource && value.streamKeyword;
  switch (value.verdict) {
    case MendedValue::Verdict::kTooLarge:
      return false;
    case MendedValue::Verdict::kWhole:
      // A whole dictionary whose stream lost its "endstream" is still written anew.
      if (!holdsStream || ClosingEndstream(source_, end)) return false;
      return CopyStreamAfter(record, *body, *body + static_cast<std::int64_t>(*value.streamKeyword));
    case MendedValue::Verdict::kNothingParses:
      // The plan found a value beginning here, so references to the object stand: it holds null.
      CopyReaderBytes(reader, start, *body);
      output_.Write(" null\n");
      mendedObjects_.push_back({record.number, ObjectMendKind::kValueCut, 0});
      return true;
    case MendedValue::Verdict::kMended:
      break;
  }
  NoteObjectMends(record.number, value.mends);
  if (holdsStream) {
    return CopyStreamAfter(record, *body, *body + static_cast<std::int64_t>(*value.streamKeyword));
  }
  const std::size_t valueStart = value.text.find_first_not_of(" \t\r\n\f");
  const std::int64_t dictionaryEnd = *body + static_cast<std::int64_t>(value.damageAt);
  const std::optional<std::int64_t> closing =
      record.origin == RecordOrigin::kSource ? ClosingEndstream(source_, end) : std::nullopt;
  if (value.damageAt > 0 && value.text.compare(std::min(valueStart, value.text.size()), 2, "<<") == 0 &&
      closing && *closing > dictionaryEnd) {
    // A dictionary, damage in it or where "stream" stood, and an "endstream" after the damage
    // that closes the object: the data starts on the line after the damage.
    std::int64_t dataStart = dictionaryEnd;
    for (std::int64_t at = dictionaryEnd; at < dictionaryEnd + kKeywordLineReach && at < end; ++at) {
      if (source_.ByteAt(at) == '\n') {
        dataStart = at + 1;
        break;
      }
    }
    return CopyStreamAnew(record, *body, dictionaryEnd, dataStart);
  }
  CopyReaderBytes(reader, start, *body);
  output_.Write(value.text);
  output_.WriteByte('\n');
  return true;
}

std::optional<std::int64_t> ObjectCopier::FirstEndstream(std::int64_t from, std::int64_t to) {
  static constexpr std::string_view kKeyword = "endstream";
  constexpr auto kOverlap = static_cast<std::int64_t>(kKeyword.size()) - 1;
  // The keyword is looked for where the bytes lie in the reader's blocks; one that begins in a
  // block's last bytes is read across the border.
  for (std::int64_t at = from; at < to;) {
    const std::span<const std::uint8_t> bytes = source_.View(at, static_cast<std::size_t>(to - at));
    if (bytes.empty()) return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const std::size_t found = text.find(kKeyword); found != std::string_view::npos) {
      return at + static_cast<std::int64_t>(found);
    }
    const std::int64_t next = at + static_cast<std::int64_t>(bytes.size());
    for (std::int64_t border = std::max(at, next - kOverlap); border < next; ++border) {
      if (border + kOverlap < to && source_.Matches(border, "endstream")) return border;
    }
    at = next;
  }
  return std::nullopt;
}

bool ObjectCopier::CopyStreamAfter(const ObjectRecord& record, std::int64_t body,
                                   std::int64_t streamKeyword) {
  std::int64_t dataStart = streamKeyword + 6;
  if (source_.ByteAt(dataStart) == '\r') ++dataStart;
  if (source_.ByteAt(dataStart) == '\n') ++dataStart;
  return CopyStreamAnew(record, body, streamKeyword, dataStart);
}

bool ObjectCopier::CopyStreamAnew(const ObjectRecord& record, std::int64_t body,
                                  std::int64_t dictionaryEnd, std::int64_t dataStart) {
  const auto start = static_cast<std::int64_t>(record.start);
  const auto end = static_cast<std::int64_t>(record.end);
  dataStart = std::min(dataStart, end);
  // The data ends before the "endstream" that closes the object or, when text follows it (an
  // object that ran on over a cross-reference table), before the first one after the data's start.
  std::optional<std::int64_t> endstream = ClosingEndstream(source_, end);
  const bool textAfterEndstream = !endstream && (endstream = FirstEndstream(dataStart, end));
  if (endstream && *endstream < dataStart) return false;  // no data between them
  std::int64_t dataEnd = end;
  if (endstream) {
    dataEnd = TrueDataEnd(source_, dataStart, *endstream);
  } else {
    while (dataEnd > dataStart && IsLineEnd(source_.ByteAt(dataEnd - 1))) --dataEnd;
  }
  const std::vector<EntryEdit> length = {
      {"Length", FormatDecimal(static_cast<std::uint64_t>(dataEnd - dataStart))}};
  MendedValue dictionary = MendWindow(source_, body, dictionaryEnd, length, true);
  if (dictionary.verdict == MendedValue::Verdict::kTooLarge ||
      dictionary.verdict == MendedValue::Verdict::kNothingParses) {
    return false;
  }
  // Page content cut short keeps what decodes, as when its data broke off inside the object;
  // its dictionary then names the new data's length and filter.
  const std::optional<std::vector<std::uint8_t>> content =
      DecodedContentPrefix(record, dictionary.text, dataStart, dataEnd, !endstream);
  if (content) {
    const std::vector<EntryEdit> deflated = {{"Length", FormatDecimal(content->size())},
                                             {"Filter", "/FlateDecode"},
                                             {"DecodeParms", std::nullopt}};
    dictionary = MendWindow(source_, body, dictionaryEnd, deflated, true);
  }
  if (!endstream) mendedStreams_.push_back({record.number, StreamMend::kEndRestored});
  if (textAfterEndstream) mendedObjects_.push_back({record.number, ObjectMendKind::kValueCut, 0});
  CopySourceBytes(start, body);
  output_.Write(dictionary.text);
  output_.Write("\nstream\n");
  if (content) {
    output_.Write(content->data(), content->size());
    mendedStreams_.push_back({record.number, StreamMend::kContentCut});
  } else {
    CopySourceBytes(dataStart, dataEnd);
  }
  output_.Write("\nendstream\n");
  return true;
}

std::optional<std::vector<std::uint8_t>> ObjectCopier::DecodedContentPrefix(
    const ObjectRecord& record, const std::string& dictionaryText, std::int64_t dataStart,
    std::int64_t dataEnd, bool cutShort) {
  if (plan_.Encrypted() || dataEnd - dataStart > static_cast<std::int64_t>(limits::kMaxDecodedStreamBytes)) {
    return std::nullopt;
  }
  // The dictionary as written anew, read back for its filter and subtype.
  SourceReader text(std::span(reinterpret_cast<const std::uint8_t*>(dictionaryText.data()),
                              dictionaryText.size()));
  PdfSyntax syntax(text, text.Length());
  const std::optional<PdfDictionary> dictionary = syntax.ReadDictionary(syntax.SkipSpace(0));
  if (!dictionary) return std::nullopt;
  const PdfValue* subtype = dictionary->Find("Subtype");
  const bool content = plan_.IsContentStream(record.number) || (subtype && subtype->IsName("Form"));
  if (!content) return std::nullopt;
  const std::optional<StreamFilter> filter = FilterOf(syntax, *dictionary);
  // Compressed content cut short under filters read here nowhere is written empty: no reader
  // can decode it to its end.
  if (!filter) return cutShort ? std::optional(Deflated({})) : std::nullopt;
  if (filter->coding == StreamCoding::kNone) return std::nullopt;
  const std::optional<DecodedStream> decoded = DecodeWithinBudget(source_, dataStart, dataEnd, *filter);
  if (!decoded || decoded->complete) return std::nullopt;
  return Deflated(ReadableContent(decoded->bytes));
}

}  // namespace tarnwick

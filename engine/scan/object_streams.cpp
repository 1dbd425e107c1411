// Object streams and cross-reference streams met by the scan. An object stream's objects are
// unpacked into plain text, "N 0 obj", the object's bytes and "endobj", and stand in the object
// table where the stream stood, so that every later rule treats them as plain objects. A
// cross-reference stream is not an object to copy; its dictionary is kept in case the source
// has no usable trailer.
#include <algorithm>
#include <limits>
#include <map>

#include "decimal.h"
#include "engine_limits.h"
#include "object_numbers.h"
#include "object_scan.h"
#include "pdf_strings.h"
#include "stream_decode.h"
#include "stream_extent.h"

namespace tarnwick {

namespace {

std::int32_t ClampedNumber(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

std::int64_t ReferenceNumber(const PdfValue* value) {
  return value && value->kind == PdfValue::Kind::kReference ? value->integer : 0;
}

// One object of an object stream: its number and where its bytes lie in the decoded data.
struct PackedObject {
  std::int64_t number = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The objects whose bytes the decoded data holds completely: each one value, running to the
// next offset in the stream or, for the last, to the end of the data. Where the data ends early
// an object counts when its value is whole.
std::vector<PackedObject> PackedObjects(const DecodedStream& decoded, std::int64_t count,
                                        std::int64_t first) {
  const auto size = static_cast<std::int64_t>(decoded.bytes.size());
  if (count <= 0 || first < 0 || first > size) return {};
  SourceReader data(decoded.bytes);
  // Each pair takes at least four bytes ("1 0 "), so no more can stand before /First.
  const auto pairs = static_cast<std::size_t>(std::min(count, first / 4 + 1));
  const std::vector<std::int64_t> header = PdfSyntax(data, first).ReadIntegers(0, 2 * pairs);

  std::vector<PackedObject> objects;
  std::vector<std::int64_t> starts;
  for (std::size_t i = 0; i + 1 < header.size(); i += 2) {
    const std::int64_t start = first + header[i + 1];
    if (!IsListableNumber(header[i]) || header[i + 1] < 0) continue;
    // An object that starts past the data still ends the one before it.
    starts.push_back(start);
    if (start < size) objects.push_back({header[i], static_cast<std::size_t>(start), 0});
  }
  std::sort(starts.begin(), starts.end());
  std::vector<PackedObject> complete;
  for (PackedObject& object : objects) {
    const auto next =
        std::upper_bound(starts.begin(), starts.end(), static_cast<std::int64_t>(object.begin));
    const bool whole = next == starts.end() ? decoded.complete : *next <= size;
    const std::int64_t end = next == starts.end() ? size : std::min(*next, size);
    // The object must read as one value; where its data is whole, nothing may follow the value.
    // Bytes that damage replaced would otherwise be copied as an object no reader can parse.
    PdfSyntax syntax(data, end);
    std::int64_t at = static_cast<std::int64_t>(object.begin);
    if (!syntax.ReadValue(at) || (whole && syntax.SkipSpace(at) != end)) continue;
    object.end = static_cast<std::size_t>(at);
    complete.push_back(object);
  }
  return complete;
}

void AppendText(std::vector<std::uint8_t>& text, std::string_view part) {
  text.insert(text.end(), part.begin(), part.end());
}

}  // namespace

bool ObjectScan::ExamineStreamObject(const ObjectRecord& record) {
  const auto end = static_cast<std::int64_t>(record.end);
  PdfSyntax syntax(source_, end);
  const std::optional<std::int64_t> body =
      syntax.AfterObjectHeader(static_cast<std::int64_t>(record.start));
  if (!body) return false;
  const std::optional<PdfDictionary> dictionary = syntax.ReadDictionary(*body);
  if (!dictionary) return false;
  const PdfValue* type = dictionary->Find("Type");
  if (type && type->IsName("XRef")) {
    NoteXrefStream(record, *dictionary);
    return true;
  }
  if (!type || !type->IsName("ObjStm")) return false;
  ++results_.objectStreams;
  // The stream stands in the table before its objects, so its objects are newer than it.
  const std::size_t streamIndex = results_.objects.size();
  results_.objects.push_back(record);
  const std::size_t textStart = results_.unpacked.size();
  if (UnpackObjectStream(record, syntax, *dictionary) == 0) {
    // Nothing came back (encrypted, or damaged beyond use): the stream stays a plain object.
    results_.unpacked.resize(textStart);
    return true;
  }
  results_.objects[streamIndex].origin = RecordOrigin::kObjectStream;
  ScanUnpackedText(textStart);
  return true;
}

void ObjectScan::NoteXrefStream(const ObjectRecord& record, const PdfDictionary& dictionary) {
  XrefStreamRecord xref;
  xref.offset = record.start;
  xref.end = record.end;
  xref.size = ClampedNumber(IntegerOf(dictionary.Find("Size")).value_or(0));
  const std::int64_t root = ReferenceNumber(dictionary.Find("Root"));
  if (IsListableNumber(root)) xref.root = static_cast<std::int32_t>(root);
  if (const PdfValue* encrypt = dictionary.Find("Encrypt");
      encrypt && encrypt->kind == PdfValue::Kind::kReference) {
    xref.hasEncrypt = true;
    xref.encrypt = ClampedNumber(encrypt->integer);
  }
  if (const PdfValue* id = dictionary.Find("ID"); id && id->kind == PdfValue::Kind::kArray) {
    xref.idArray = id->begin;
  }
  xref.info = ReferenceNumber(dictionary.Find("Info"));
  results_.xrefStreams.push_back(xref);
}

std::size_t ObjectScan::UnpackObjectStream(const ObjectRecord& record, PdfSyntax& syntax,
                                           const PdfDictionary& dictionary) {
  const std::optional<std::int64_t> count = IntegerOf(dictionary.Find("N"));
  const std::optional<std::int64_t> first = IntegerOf(dictionary.Find("First"));
  const std::optional<StreamFilter> filter = FilterOf(syntax, dictionary);
  const std::optional<std::int64_t> dataStart = syntax.StreamDataStart(dictionary.end);
  if (!count || !first || !filter || !dataStart) return 0;
  const auto objectEnd = static_cast<std::int64_t>(record.end);
  const std::int64_t dataEnd = StreamDataEnd(source_, dictionary, *dataStart, objectEnd);

  const std::size_t unpackedAllowed = limits::UnpackedBytesAllowed(results_.sourceLength);
  const std::size_t cap =
      std::min(limits::kMaxDecodedStreamBytes,
               unpackedAllowed - std::min(unpackedAllowed, results_.unpacked.size()));
  SourceReader* data = &source_;
  std::int64_t begin = *dataStart;
  std::int64_t end = dataEnd;
  std::vector<std::uint8_t> plain;
  std::optional<SourceReader> plainReader;
  if (security_) {
    // Decrypting takes the whole stream into memory: no more than one stream may unpack to.
    const auto length = static_cast<std::size_t>(std::max<std::int64_t>(0, end - begin));
    if (length > limits::kMaxDecodedStreamBytes) return 0;
    std::optional<std::vector<std::uint8_t>> decrypted = security_->DecryptStream(
        record.number, record.generation, source_.ReadVector(begin, length));
    if (!decrypted) return 0;
    plain = std::move(*decrypted);
    data = &plainReader.emplace(plain);
    begin = 0;
    end = data->Length();
  }
  std::optional<DecodedStream> decoded = DecodeStream(*data, begin, end, cap, *filter);
  if (!decoded) return 0;
  if (!decoded->complete && decoded->bytes.size() < cap && filter->coding == StreamCoding::kFlate &&
      !security_) {
    // Compressed data that stops decoding may have had its line ends doubled in transfer.
    if (const auto undone = LineEndsUndone(source_, begin, end)) {
      SourceReader undoneReader(*undone);
      auto again = DecodeStream(undoneReader, 0, undoneReader.Length(), cap, *filter);
      if (again && again->complete) {
        decoded = std::move(again);
        results_.lineEndsUndone.push_back(record.number);
      }
    }
  }

  const std::size_t objectsAllowed = limits::UnpackedObjectsAllowed(results_.sourceLength);
  // No more pairs are read from the header than objects may still be unpacked.
  const auto objectsLeft =
      static_cast<std::int64_t>(objectsAllowed - std::min(objectsAllowed, unpackedObjects_));
  const std::vector<PackedObject> objects =
      PackedObjects(*decoded, std::min(*count, objectsLeft), *first);
  std::vector<std::uint8_t>& text = results_.unpacked;
  std::size_t unpacked = 0;
  for (const PackedObject& object : objects) {
    if (text.size() >= unpackedAllowed || unpackedObjects_ >= objectsAllowed) break;
    ++unpackedObjects_;
    ++unpacked;
    AppendText(text, "\n");
    const std::uint64_t start = text.size();
    AppendText(text, FormatDecimal(static_cast<std::uint64_t>(object.number)));
    AppendText(text, " 0 obj\n");
    const std::span<const std::uint8_t> bytes(decoded->bytes.data() + object.begin,
                                              object.end - object.begin);
    if (security_) {
      // Strings inside an object stream were covered by the stream's encryption; standing alone,
      // they must be encrypted as every other string of the document, or readers would garble
      // them.
      const auto encrypted = TransformStrings(bytes, [&](std::span<const std::uint8_t> clear) {
        return security_->EncryptString(object.number, 0, clear);
      });
      text.insert(text.end(), encrypted.begin(), encrypted.end());
    } else {
      text.insert(text.end(), bytes.begin(), bytes.end());
    }
    AppendText(text, "\n");
    results_.objects.push_back({object.number, start, text.size(), RecordOrigin::kUnpacked});
    AppendText(text, "endobj\n");
  }
  return unpacked;
}

void ObjectScan::ScanUnpackedText(std::size_t textStart) {
  const std::span<const std::uint8_t> bytes(results_.unpacked.data() + textStart,
                                            results_.unpacked.size() - textStart);
  SourceReader unpacked(bytes);
  ScanText text(unpacked, results_.unpackedKidsKeywords, static_cast<std::int64_t>(textStart));
  const auto length = static_cast<std::int64_t>(bytes.size());
  for (std::int64_t at = 0; at < length; ++at) {
    switch (bytes[static_cast<std::size_t>(at)]) {
      case '/':
        if (IsPageKeyword(unpacked, at)) RecordPage(text, at);
        break;
      case 'C':
        if (unpacked.Matches(at, "Catalog")) RecordCatalog(text, at);
        break;
      case 'K':
        if (unpacked.Matches(at, "Kids")) RecordKids(text, at);
        break;
      default:
        break;
    }
  }
  // The Kids references just read lie in other bytes than the source's; an array of the source
  // walked before them is not shared with later keywords.
  sourceText_.kidsWalkStart = -1;
}

}  // namespace tarnwick

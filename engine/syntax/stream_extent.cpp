#include "stream_extent.h"

#include "byte_classes.h"

namespace tarnwick {

namespace {

std::optional<PdfValue> SoleItem(PdfSyntax& syntax, const PdfValue& value) {
  if (value.kind != PdfValue::Kind::kArray) return value;
  const auto items = syntax.ReadArray(value.begin);
  if (!items || items->size() > 1) return std::nullopt;
  if (items->empty()) return PdfValue{};
  return items->front();
}

}  // namespace

std::optional<StreamFilter> FilterOf(PdfSyntax& syntax, const PdfDictionary& dictionary) {
  StreamFilter filter;
  if (const PdfValue* named = dictionary.Find("Filter")) {
    const std::optional<PdfValue> sole = SoleItem(syntax, *named);
    if (!sole) return std::nullopt;
    if (sole->IsName("FlateDecode") || sole->IsName("Fl")) {
      filter.coding = StreamCoding::kFlate;
    } else if (sole->IsName("LZWDecode") || sole->IsName("LZW")) {
      filter.coding = StreamCoding::kLzw;
    } else if (sole->kind != PdfValue::Kind::kNull) {
      return std::nullopt;
    }
  }
  const PdfValue* parameters = dictionary.Find("DecodeParms");
  if (!parameters || filter.coding == StreamCoding::kNone) return filter;
  const std::optional<PdfValue> sole = SoleItem(syntax, *parameters);
  if (!sole) return std::nullopt;
  if (sole->kind != PdfValue::Kind::kDictionary) return filter;
  const std::optional<PdfDictionary> entries = syntax.ReadDictionary(sole->begin);
  if (!entries) return std::nullopt;
  PredictorParameters& p = filter.predictor;
  p.predictor = IntegerOf(entries->Find("Predictor")).value_or(p.predictor);
  p.colors = IntegerOf(entries->Find("Colors")).value_or(p.colors);
  p.bitsPerComponent = IntegerOf(entries->Find("BitsPerComponent")).value_or(p.bitsPerComponent);
  p.columns = IntegerOf(entries->Find("Columns")).value_or(p.columns);
  filter.earlyChange = IntegerOf(entries->Find("EarlyChange")).value_or(1) != 0;
  return filter;
}

std::optional<std::int64_t> ClosingEndstream(SourceReader& reader, std::int64_t objectEnd) {
  constexpr std::int64_t kKeywordLength = 9;  // "endstream"
  std::int64_t at = objectEnd;
  while (at > 0 && IsPdfSpace(reader.ByteAt(at - 1))) --at;
  at -= kKeywordLength;
  if (at < 0 || !reader.Matches(at, "endstream")) return std::nullopt;
  return at;
}

std::int64_t TrueDataEnd(SourceReader& reader, std::int64_t dataStart, std::int64_t endstream) {
  std::int64_t end = endstream;
  if (end > dataStart && reader.ByteAt(end - 1) == '\n') --end;
  if (end > dataStart && reader.ByteAt(end - 1) == '\r') --end;
  return end;
}

bool LengthReachesEndstream(SourceReader& reader, std::int64_t dataStart, std::int64_t length,
                            std::int64_t limit) {
  if (length < 0 || length > limit - dataStart) return false;
  // White space only: a '%' inside binary data starts no comment.
  std::int64_t at = dataStart + length;
  while (at < limit && IsPdfSpace(reader.ByteAt(at))) ++at;
  return reader.Matches(at, "endstream");
}

std::optional<std::vector<std::uint8_t>> LineEndsUndone(SourceReader& reader, std::int64_t begin,
                                                        std::int64_t end) {
  // A CR LF after "stream" that became CR CR LF leaves a CR LF in front of the data.
  if (reader.ByteAt(begin - 1) == '\r' && reader.Matches(begin, "\r\n")) begin += 2;
  std::vector<std::uint8_t> bytes = reader.ReadVector(begin, static_cast<std::size_t>(end - begin));
  std::size_t kept = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    bytes[kept++] = bytes[i];
  }
  if (kept == bytes.size()) return std::nullopt;
  bytes.resize(kept);
  return bytes;
}

std::int64_t StreamDataEnd(SourceReader& reader, const PdfDictionary& dictionary,
                           std::int64_t dataStart, std::int64_t objectEnd) {
  if (const std::optional<std::int64_t> length = IntegerOf(dictionary.Find("Length"))) {
    if (LengthReachesEndstream(reader, dataStart, *length, objectEnd)) {
      return dataStart + *length;
    }
  }
  if (const auto closing = ClosingEndstream(reader, objectEnd); closing && *closing >= dataStart) {
    return TrueDataEnd(reader, dataStart, *closing);
  }
  for (std::int64_t at = dataStart; at + 9 <= objectEnd; ++at) {
    if (reader.ByteAt(at) == 'e' && reader.Matches(at, "endstream")) {
      return TrueDataEnd(reader, dataStart, at);
    }
  }
  return objectEnd;
}

}  // namespace tarnwick

// Streams that the copy cannot write as they stand: a /Length that does not reach "endstream",
// compressed data whose line ends were doubled, page content that stops decoding. Every other
// stream, and every other object, is copied byte for byte.
#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "byte_classes.h"
#include "content_prefix.h"
#include "decimal.h"
#include "engine_limits.h"
#include "object_copier.h"
#include "stream_decode.h"
#include "standard_security.h"
#include "stream_extent.h"

namespace tarnwick {

namespace {

// Whether the stream's /Filter names a filter that the PDF format does not define.
bool NamesUnknownFilter(PdfSyntax& syntax, const PdfDictionary& dictionary) {
  static constexpr std::array<std::string_view, 17> kKnown = {
      "ASCIIHexDecode", "ASCII85Decode", "LZWDecode", "FlateDecode", "RunLengthDecode",
      "CCITTFaxDecode", "JBIG2Decode",   "DCTDecode", "JPXDecode",   "Crypt",
      "AHx",            "A85",           "LZW",       "Fl",          "RL",
      "CCF",            "DCT"};
  const PdfValue* named = dictionary.Find("Filter");
  if (!named) return false;
  auto unknown = [](const PdfValue& value) {
    return value.kind == PdfValue::Kind::kName &&
           std::find(kKnown.begin(), kKnown.end(), value.name) == kKnown.end();
  };
  if (named->kind != PdfValue::Kind::kArray) return unknown(*named);
  const std::optional<std::vector<PdfValue>> items = syntax.ReadArray(named->begin);
  return items && std::any_of(items->begin(), items->end(), unknown);
}

}  // namespace

void ObjectCopier::CopyReaderBytes(SourceReader& reader, std::int64_t from, std::int64_t to) {
  while (from < to) {
    const auto bytes = reader.View(from, static_cast<std::size_t>(to - from));
    if (bytes.empty()) return;
    output_.Write(bytes.data(), bytes.size());
    from += static_cast<std::int64_t>(bytes.size());
  }
}

std::optional<std::int64_t> ObjectCopier::DeclaredLength(const PdfValue* length) {
  if (!length) return std::nullopt;
  if (length->kind == PdfValue::Kind::kInteger) return length->integer;
  if (length->kind != PdfValue::Kind::kReference) return std::nullopt;
  // Many streams may name one object, which is read once.
  const auto known = lengthObjects_.find(length->integer);
  if (known != lengthObjects_.end()) return known->second;
  std::optional<std::int64_t>& number = lengthObjects_[length->integer];
  const ObjectRecord* record = plan_.NewestRecord(length->integer);
  if (!record) return number;
  SourceReader& reader = plan_.ReaderOf(*record);
  PdfSyntax syntax(reader, static_cast<std::int64_t>(record->end));
  std::optional<std::int64_t> at = syntax.AfterObjectHeader(static_cast<std::int64_t>(record->start));
  const std::optional<PdfValue> value = at ? syntax.ReadValue(*at) : std::nullopt;
  if (value && value->kind == PdfValue::Kind::kInteger) number = value->integer;
  return number;
}

std::optional<DecodedStream> ObjectCopier::DecodeWithinBudget(SourceReader& reader,
                                                             std::int64_t begin, std::int64_t end,
                                                             const StreamFilter& filter) {
  if (decodeBudget_ == 0) return std::nullopt;
  const std::size_t cap = static_cast<std::size_t>(std::min<std::uint64_t>(limits::kMaxDecodedStreamBytes, decodeBudget_));
  if (filter.coding == StreamCoding::kFlate) {
    // Most streams are whole: they are inflated once with nothing kept, and only broken ones
    // again for their bytes.
    const InflateCheck check = CheckInflate(reader, begin, end, cap);
    decodeBudget_ -= std::min<std::uint64_t>(decodeBudget_, check.size);
    if (check.complete || check.size >= cap) return DecodedStream{{}, true};
  }
  std::optional<DecodedStream> decoded = DecodeStream(reader, begin, end, cap, filter);
  // Data cut by the cap counts as whole: a limit is not damage.
  if (decoded && decoded->bytes.size() >= cap) decoded->complete = true;
  decodeBudget_ -= std::min<std::uint64_t>(decodeBudget_, decoded ? decoded->bytes.size() : 0);
  return decoded;
}

bool ObjectCopier::LengthRightAtAGlance(std::int64_t start, std::int64_t endstream,
                                       bool content) {
  // Only dictionaries within the glance, with one /Length key, a direct number, no /Form, and
  // for page content no /Filter, which would have to be checked by decoding.
  constexpr std::size_t kGlance = 4096;
  const std::span<const std::uint8_t> view =
      source_.View(start, static_cast<std::size_t>(std::min<std::int64_t>(kGlance, endstream - start)));
  const std::string_view bytes(reinterpret_cast<const char*>(view.data()), view.size());
  std::size_t keyword = bytes.find("stream");
  while (keyword != std::string_view::npos && keyword >= 3 && bytes.substr(keyword - 3, 3) == "end") {
    keyword = bytes.find("stream", keyword + 1);
  }
  if (keyword == std::string_view::npos || keyword + 7 > bytes.size()) return false;
  const std::string_view dictionary = bytes.substr(0, keyword);
  if (dictionary.find("/Form") != std::string_view::npos) return false;
  if (content && dictionary.find("/Filter") != std::string_view::npos) return false;
  std::size_t key = std::string_view::npos;
  for (std::size_t at = dictionary.find("/Length"); at != std::string_view::npos;
       at = dictionary.find("/Length", at + 1)) {
    const int after = at + 7 < dictionary.size() ? static_cast<unsigned char>(dictionary[at + 7]) : -1;
    if (!IsPdfSpace(after) && !IsDelimiter(after) && after != -1) continue;
    if (key != std::string_view::npos) return false;  // a second key: the reader decides
    key = at;
  }
  if (key == std::string_view::npos) return false;
  std::size_t at = key + 7;
  while (at < dictionary.size() && IsPdfSpace(static_cast<unsigned char>(dictionary[at]))) ++at;
  std::int64_t length = 0;
  const auto [digitsEnd, error] =
      std::from_chars(dictionary.data() + at, dictionary.data() + dictionary.size(), length);
  if (error != std::errc{} || length < 0) return false;
  at = static_cast<std::size_t>(digitsEnd - dictionary.data());
  // "12.0" or "12x" is no integer to the reader either.
  if (at < dictionary.size() && !IsPdfSpace(static_cast<unsigned char>(dictionary[at])) &&
      !IsDelimiter(static_cast<unsigned char>(dictionary[at]))) {
    return false;
  }
  while (at < dictionary.size() && IsPdfSpace(static_cast<unsigned char>(dictionary[at]))) ++at;
  if (at < dictionary.size() && IsDigit(static_cast<unsigned char>(dictionary[at]))) return false;  // a reference
  // The end of line after the keyword: LF or CR LF; anything else is left to the reader.
  std::size_t data = keyword + 6;
  if (bytes[data] == '\r') ++data;
  if (data >= bytes.size() || bytes[data] != '\n') return false;
  ++data;
  return LengthReachesEndstream(source_, start + static_cast<std::int64_t>(data), length, endstream);
}

bool ObjectCopier::CopyMendedStream(const ObjectRecord& record) {
  if (record.origin != RecordOrigin::kSource) return false;  // packed objects hold no stream
  const auto start = static_cast<std::int64_t>(record.start);
  // Only an object that ends with "endstream" holds a stream, which a look at its last bytes
  // tells; the dictionary is read only then.
  const std::optional<std::int64_t> endstream =
      ClosingEndstream(source_, static_cast<std::int64_t>(record.end));
  if (!endstream) return false;
  // Most streams are whole, and most need no decoding to be sure: a few bytes tell.
  if (LengthRightAtAGlance(start, *endstream, plan_.IsContentStream(record.number))) {
    return false;
  }
  PdfSyntax syntax(source_, *endstream);
  const std::optional<std::int64_t> body = syntax.AfterObjectHeader(start);
  if (!body) return false;
  const std::int64_t dictionaryStart = syntax.SkipSpace(*body);
  const std::optional<PdfDictionary> dictionary = syntax.ReadDictionary(dictionaryStart);
  std::optional<std::int64_t> dataStart =
      dictionary ? syntax.StreamDataStart(dictionary->end) : std::nullopt;
  if (!dataStart || *dataStart > *endstream) return false;
  const std::int64_t streamEnd = syntax.SkipSpace(dictionary->end) + 6;  // after "stream"
  // "stream" then CR CR LF is a CR LF whose LF became CR LF: the data starts after all three,
  // and the end of line is written anew.
  const bool doubledEol = source_.Matches(streamEnd, "\r\r\n");
  if (doubledEol) dataStart = streamEnd + 3;
  // A lone CR or blanks after "stream" leave readers guessing where the data starts.
  const bool oddEol = plan_.Mending() && !doubledEol && !source_.Matches(streamEnd, "\n") &&
                      !source_.Matches(streamEnd, "\r\n");
  const PdfValue* length = dictionary->Find("Length");
  const std::optional<std::int64_t> declared = DeclaredLength(length);
  const bool lengthRight = !doubledEol && declared &&
                           LengthReachesEndstream(source_, *dataStart, *declared, *endstream);
  // A right length is taken as it is: data may end with a CR of its own before the LF.
  std::int64_t dataEnd =
      lengthRight ? *dataStart + *declared : TrueDataEnd(source_, *dataStart, *endstream);

  const PdfValue* subtype = dictionary->Find("Subtype");
  const bool content = plan_.IsContentStream(record.number) || (subtype && subtype->IsName("Form"));
  // Encrypted data is decoded only through its plain text, which needs the document's key.
  // Decoding is spent on streams whose length was wrong (doubled line ends change it) and on
  // page content, where damage inside the data matters.
  const StandardSecurity* security = DecryptingSecurity(syntax, *dictionary);
  const std::optional<StreamFilter> filter =
      plan_.Encrypted() && !security ? std::nullopt : FilterOf(syntax, *dictionary);
  // The end that the true-length rule found, before AES data is made whole blocks again.
  const std::int64_t eolEnd = dataEnd;
  if (security && security->StreamsInBlocks() && !lengthRight) {
    dataEnd = WholeBlocksEnd(*dataStart, dataEnd, *endstream);
  }
  if (filter && filter->coding != StreamCoding::kNone && (!lengthRight || content) &&
      dataEnd - *dataStart <= static_cast<std::int64_t>(limits::kMaxDecodedStreamBytes)) {
    std::optional<DecodedStream> decoded =
        security ? DecodeDecrypted(record, *security, source_, *dataStart, dataEnd, *filter)
                 : DecodeWithinBudget(source_, *dataStart, dataEnd, *filter);
    if (decoded && !decoded->complete) {
      if (filter->coding == StreamCoding::kFlate) {
        // Line ends are doubled in the file's bytes, so in encrypted data they are undone before
        // it is decrypted; what is then written is the data as it stood, still encrypted. Data
        // that ends with an LF of its own may have had no end of line written after it: its
        // doubled LF then reads as that end of line, and only the declared length, met by the
        // undone data up to "endstream", tells that it belongs to the data.
        std::optional<std::vector<std::uint8_t>> undone =
            LineEndsUndone(source_, *dataStart, eolEnd);
        if (declared && (!undone || static_cast<std::int64_t>(undone->size()) != *declared)) {
          auto whole = LineEndsUndone(source_, *dataStart, *endstream);
          if (whole && static_cast<std::int64_t>(whole->size()) == *declared) {
            undone = std::move(whole);
          }
        }
        if (undone) {
          SourceReader undoneReader(*undone);
          auto again = security ? DecodeDecrypted(record, *security, undoneReader, 0,
                                                  undoneReader.Length(), *filter)
                                : DecodeWithinBudget(undoneReader, 0, undoneReader.Length(), *filter);
          if (again && again->complete) {
            WriteWithLength(start, dictionaryStart, length, streamEnd, *dataStart, eolEnd,
                            &*undone);
            mendedStreams_.push_back({record.number, StreamMend::kLineEndsUndone});
            return true;
          }
          if (again && again->bytes.size() > decoded->bytes.size()) decoded = std::move(again);
        }
      }
      const std::vector<std::uint8_t> kept =
          content ? ReadableContent(decoded->bytes) : std::vector<std::uint8_t>();
      decoded.reset();  // no more needed; the stream's copies are held one pair at a time
      std::vector<std::uint8_t> deflated = kept.empty() ? kept : Deflated(kept);
      if (!deflated.empty()) {
        WriteDeflatedContent(start, dictionaryStart, *dictionary,
                             Sealed(record, security, std::move(deflated)));
        mendedStreams_.push_back({record.number, StreamMend::kContentCut});
        return true;
      }
      if (content && plan_.Mending()) {
        // Nothing of it decoded: written empty, its page stays and shows blank where readers
        // would otherwise reject the stream.
        WriteDeflatedContent(start, dictionaryStart, *dictionary,
                             Sealed(record, security, Deflated({})));
        mendedStreams_.push_back({record.number, StreamMend::kContentEmptied});
        return true;
      }
    }
  }
  if (content && !filter && !plan_.Encrypted() && plan_.Mending() &&
      NamesUnknownFilter(syntax, *dictionary)) {
    // No reader can decode it: written empty, like content of which nothing decodes.
    WriteDeflatedContent(start, dictionaryStart, *dictionary, Deflated({}));
    mendedStreams_.push_back({record.number, StreamMend::kContentEmptied});
    return true;
  }
  if (lengthRight && !oddEol) return false;
  WriteWithLength(start, dictionaryStart, length, streamEnd, *dataStart, dataEnd, nullptr);
  mendedStreams_.push_back(
      {record.number, lengthRight ? StreamMend::kKeywordLineEnd : StreamMend::kTrueLength});
  return true;
}

const StandardSecurity* ObjectCopier::DecryptingSecurity(PdfSyntax& syntax,
                                                         const PdfDictionary& dictionary) const {
  const StandardSecurity* security = plan_.Security();
  if (!security || !plan_.Mending()) return nullptr;
  // Cross-reference streams are never encrypted, metadata is left plain when the document says
  // so, and embedded files may have a crypt filter of their own: those are left as they stand,
  // and so is a stream that names a crypt filter itself.
  const PdfValue* type = dictionary.Find("Type");
  if (type && (type->IsName("XRef") || type->IsName("EmbeddedFile") ||
               (type->IsName("Metadata") && !security->EncryptsMetadata()))) {
    return nullptr;
  }
  if (const PdfValue* filter = dictionary.Find("Filter")) {
    if (filter->IsName("Crypt")) return nullptr;
    if (filter->kind == PdfValue::Kind::kArray) {
      const std::optional<std::vector<PdfValue>> filters = syntax.ReadArray(filter->begin);
      if (!filters || std::any_of(filters->begin(), filters->end(),
                                  [](const PdfValue& f) { return f.IsName("Crypt"); })) {
        return nullptr;
      }
    }
  }
  return security;
}

std::int64_t ObjectCopier::WholeBlocksEnd(std::int64_t dataStart, std::int64_t dataEnd,
                                         std::int64_t endstream) {
  // AES data comes in whole blocks of 16 bytes: when the end of line that the true-length rule
  // dropped makes the data whole blocks, its bytes were the end of the data.
  constexpr std::int64_t kBlock = 16;
  for (std::int64_t extra = 0; extra <= 2 && dataEnd + extra <= endstream; ++extra) {
    if ((dataEnd + extra - dataStart) % kBlock == 0) return dataEnd + extra;
  }
  return dataEnd;
}

std::optional<DecodedStream> ObjectCopier::DecodeDecrypted(const ObjectRecord& record,
                                                          const StandardSecurity& security,
                                                          SourceReader& reader,
                                                          std::int64_t begin, std::int64_t end,
                                                          const StreamFilter& filter) {
  // Data that does not decrypt (AES data shorter than a block) decodes as nothing.
  std::vector<std::uint8_t> plain =
      security
          .DecryptStream(record.number, record.generation,
                         reader.ReadVector(begin, static_cast<std::size_t>(end - begin)))
          .value_or(std::vector<std::uint8_t>());
  SourceReader plainReader(plain);
  return DecodeWithinBudget(plainReader, 0, plainReader.Length(), filter);
}

std::vector<std::uint8_t> ObjectCopier::Sealed(const ObjectRecord& record,
                                               const StandardSecurity* security,
                                               std::vector<std::uint8_t> data) {
  // Mended data goes back under the object's own key: nothing of the copy is left decrypted.
  if (!security) return data;
  return security->EncryptStream(record.number, record.generation, data);
}

void ObjectCopier::WriteWithLength(std::int64_t start, std::int64_t dictionaryStart,
                                  const PdfValue* length, std::int64_t streamEnd,
                                  std::int64_t dataStart, std::int64_t dataEnd,
                                  const std::vector<std::uint8_t>* data) {
  const std::string trueLength =
      FormatDecimal(data ? data->size() : static_cast<std::uint64_t>(dataEnd - dataStart));
  if (length) {
    CopySourceBytes(start, length->begin);
    output_.Write(trueLength);
    CopySourceBytes(length->end, streamEnd);
  } else {
    CopySourceBytes(start, dictionaryStart + 2);  // up to and with "<<"
    output_.Write(" /Length ");
    output_.Write(trueLength);
    CopySourceBytes(dictionaryStart + 2, streamEnd);
  }
  // The end of line after "stream" is written anew: damage may have left a lone CR there.
  output_.WriteByte('\n');
  if (data) {
    output_.Write(data->data(), data->size());
  } else {
    CopySourceBytes(dataStart, dataEnd);
  }
  output_.Write("\nendstream\n");
}

void ObjectCopier::WriteDeflatedContent(std::int64_t start, std::int64_t dictionaryStart,
                                       const PdfDictionary& dictionary,
                                       std::span<const std::uint8_t> deflated) {
  CopySourceBytes(start, dictionaryStart);
  output_.Write("<<");
  for (const PdfEntry& entry : dictionary.entries) {
    if (entry.key == "Length" || entry.key == "Filter" || entry.key == "DecodeParms") continue;
    output_.WriteByte(' ');
    CopySourceBytes(entry.keyBegin, entry.value.end);
  }
  output_.Write(" /Length ");
  output_.Write(FormatDecimal(deflated.size()));
  output_.Write(" /Filter /FlateDecode >>\nstream\n");
  output_.Write(deflated.data(), deflated.size());
  output_.Write("\nendstream\n");
}

}  // namespace tarnwick

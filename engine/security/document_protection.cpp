#include "document_protection.h"

#include <algorithm>

#include "engine_limits.h"
#include "identifier_array.h"
#include "object_numbers.h"
#include "pdf_strings.h"
#include "stream_decode.h"
#include "stream_extent.h"

namespace tarnwick {

namespace {

// The first string of an /ID array's bytes, or nothing.
std::vector<std::uint8_t> FirstIdentifier(std::span<const std::uint8_t> array) {
  SourceReader bytes(array);
  PdfSyntax syntax(bytes, bytes.Length());
  const std::optional<std::vector<PdfValue>> items = syntax.ReadArray(0);
  if (!items || items->empty() || items->front().kind != PdfValue::Kind::kString) return {};
  const PdfValue& first = items->front();
  return StringBytes(array.subspan(static_cast<std::size_t>(first.begin),
                                   static_cast<std::size_t>(first.end - first.begin)));
}

// Whether a compressed stream of the source decodes whole as it stands, which encrypted data
// never does: the source's data is then plain, whatever dictionary it still holds. Only the
// newest few such streams are tried, each only so far: cross-reference streams, which are never
// encrypted, and metadata, which may be left plain, are passed over.
bool StreamsReadPlain(SourceReader& source, const ScanResults& results) {
  std::size_t tried = 0;
  const auto& objects = results.objects;
  for (auto record = objects.rbegin(); record != objects.rend(); ++record) {
    if (tried >= limits::kPlainStreamProbes) break;
    if (record->origin != RecordOrigin::kSource) continue;
    const std::optional<std::int64_t> endstream =
        ClosingEndstream(source, static_cast<std::int64_t>(record->end));
    if (!endstream) continue;
    PdfSyntax syntax(source, *endstream);
    const std::optional<std::int64_t> body =
        syntax.AfterObjectHeader(static_cast<std::int64_t>(record->start));
    const std::optional<PdfDictionary> dictionary =
        body ? syntax.ReadDictionary(*body) : std::nullopt;
    if (!dictionary) continue;
    const PdfValue* type = dictionary->Find("Type");
    if (type && (type->IsName("XRef") || type->IsName("Metadata"))) continue;
    const std::optional<StreamFilter> filter = FilterOf(syntax, *dictionary);
    const std::optional<std::int64_t> dataStart = syntax.StreamDataStart(dictionary->end);
    if (!filter || filter->coding != StreamCoding::kFlate || !dataStart) continue;
    ++tried;
    // Bare deflate data is not tried: noise often reads as a short block of it, while it never
    // passes a zlib header and checksum, nor decodes far.
    const InflateCheck check = CheckZlibInflate(source, *dataStart,
                                                TrueDataEnd(source, *dataStart, *endstream),
                                                limits::kPlainProbeBytes);
    if (check.complete || check.size >= limits::kPlainProbeBytes) return true;
  }
  return false;
}

}  // namespace

TrailerProtection ProtectionInForce(const ScanResults& results) {
  TrailerProtection protection{results.encryptionSeen, results.encryptionNumber,
                               results.identifierSeen, results.identifierKeyEnd};
  const auto& streams = results.xrefStreams;
  if (!(!results.trailer || results.trailerIncomplete) || streams.empty()) {
    return protection;
  }
  const auto encrypt = std::find_if(streams.rbegin(), streams.rend(),
                                    [](const XrefStreamRecord& x) { return x.hasEncrypt; });
  if (encrypt != streams.rend()) {
    protection.encrypted = true;
    protection.encryptNumber = encrypt->encrypt;
  }
  const auto id = std::find_if(streams.rbegin(), streams.rend(),
                               [](const XrefStreamRecord& x) { return x.idArray != 0; });
  if (id != streams.rend()) {
    protection.identified = true;
    protection.identifierAt = id->idArray;
  }
  return protection;
}

std::optional<StandaloneEncryption> FindStandaloneEncryption(SourceReader& source,
                                                            const ScanResults& results) {
  static constexpr std::string_view kHandler = "/Standard";
  std::uint64_t bytesLeft = limits::kSecurityLookBytesFloor + results.sourceLength;
  const auto& objects = results.objects;
  for (auto record = objects.rbegin(); record != objects.rend(); ++record) {
    if (record->origin != RecordOrigin::kSource || !IsListableNumber(record->number)) continue;
    const std::uint64_t size = record->end - record->start;
    if (size > limits::kMaxSecurityDictionaryBytes) continue;
    if (size > bytesLeft) break;
    bytesLeft -= size;
    const auto start = static_cast<std::int64_t>(record->start);
    const std::vector<std::uint8_t> bytes = source.ReadVector(start, static_cast<std::size_t>(size));
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.find(kHandler) == std::string_view::npos) continue;
    PdfSyntax syntax(source, static_cast<std::int64_t>(record->end));
    const std::optional<std::int64_t> body = syntax.AfterObjectHeader(start);
    const std::optional<PdfDictionary> dictionary =
        body ? syntax.ReadDictionary(*body) : std::nullopt;
    const std::optional<EncryptionDictionary> encryption =
        dictionary ? ReadEncryptionDictionary(syntax, source, *dictionary) : std::nullopt;
    if (encryption) {
      // A dictionary left behind by a tool that decrypted the file protects nothing.
      if (StreamsReadPlain(source, results)) return std::nullopt;
      return StandaloneEncryption{static_cast<std::int32_t>(record->number), encryption->revision};
    }
  }
  return std::nullopt;
}

void TakeStandaloneEncryption(const StandaloneEncryption& found, TrailerProtection& protection) {
  protection.encrypted = true;
  protection.encryptNumber = found.number;
  // Revisions 5 and 6 derive their key from the password alone: readers open the copy under any
  // /ID, so a new one stands in for the lost. The older revisions' key needs the lost one; any
  // /ID a surviving cross-reference stream kept is carried as it is.
  protection.freshIdentifier = found.revision >= 5 && !protection.identified;
}

std::optional<EncryptionDictionary> SourceEncryption(SourceReader& source,
                                                     const ScanResults& results,
                                                     const TrailerProtection& protection) {
  const auto& objects = results.objects;
  const auto record = std::find_if(objects.rbegin(), objects.rend(), [&](const ObjectRecord& r) {
    return r.number == protection.encryptNumber && r.origin == RecordOrigin::kSource;
  });
  if (!protection.encrypted || record == objects.rend()) return std::nullopt;
  PdfSyntax syntax(source, static_cast<std::int64_t>(record->end));
  const std::optional<std::int64_t> body =
      syntax.AfterObjectHeader(static_cast<std::int64_t>(record->start));
  const std::optional<PdfDictionary> dictionary =
      body ? syntax.ReadDictionary(*body) : std::nullopt;
  return dictionary ? ReadEncryptionDictionary(syntax, source, *dictionary) : std::nullopt;
}

std::optional<StandardSecurity> UnlockSource(SourceReader& source, const ScanResults& results,
                                             const TrailerProtection& protection,
                                             std::span<const std::string> passwords) {
  const std::optional<EncryptionDictionary> encryption =
      SourceEncryption(source, results, protection);
  if (!encryption) return std::nullopt;

  const std::vector<std::uint8_t> firstId =
      protection.identified ? FirstIdentifier(IdentifierArrayAt(source, protection.identifierAt))
                            : std::vector<std::uint8_t>();
  for (const std::string& password : passwords) {
    if (auto security = StandardSecurity::Unlock(*encryption, firstId, password)) return security;
  }
  return std::nullopt;
}

}  // namespace tarnwick

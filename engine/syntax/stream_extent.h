#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pdf_syntax.h"
#include "stream_decode.h"

namespace tarnwick {

// The filter of a stream dictionary when the engine can decode it: none, FlateDecode or
// LZWDecode, alone or as the only item of an array, with the parameters of the same shape.
// Nothing for any other filter or chain.
std::optional<StreamFilter> FilterOf(PdfSyntax& syntax, const PdfDictionary& dictionary);

// The "endstream" that closes an object whose "endobj" stands at `objectEnd`: the keyword with
// only white space between it and "endobj". Nothing when the object ends otherwise.
std::optional<std::int64_t> ClosingEndstream(SourceReader& reader, std::int64_t objectEnd);

// The end of a stream's data: where its /Length says when "endstream" follows there, else the
// line end before the "endstream" that closes the object, else before the first "endstream",
// else the end of the object.
std::int64_t StreamDataEnd(SourceReader& reader, const PdfDictionary& dictionary,
                           std::int64_t dataStart, std::int64_t objectEnd);

// The true end of a stream's data: the end of line before the "endstream" at `endstream` is not
// part of it.
std::int64_t TrueDataEnd(SourceReader& reader, std::int64_t dataStart, std::int64_t endstream);

// Whether a declared /Length is right: after that many bytes of data, only white space stands
// before an "endstream".
bool LengthReachesEndstream(SourceReader& reader, std::int64_t dataStart, std::int64_t length,
                            std::int64_t limit);

// The data in [begin, end) with every CR LF taken as a single LF, as it stood before a transfer
// in text mode doubled its line ends (a CR LF at `begin` right after a CR is the rest of the
// doubled end of line after "stream", and dropped); nothing when it holds no CR LF.
std::optional<std::vector<std::uint8_t>> LineEndsUndone(SourceReader& reader, std::int64_t begin,
                                                        std::int64_t end);

}  // namespace tarnwick

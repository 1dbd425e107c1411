#pragma once

// Builders for the newer PDF structures the engine reads as syntax: object streams (optionally
// deflated, optionally with a PNG predictor) and the lookup of an object in a repaired file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::test {

struct PackedObject {
  int number = 0;
  std::string body;
};

struct ObjectStreamForm {
  bool deflated = true;
  int pngColumns = 0;  // with a PNG predictor (12) over rows this wide; 0 for none
  // Cuts the stream data to this share of its bytes, keeping /Length as it was; 1 keeps it all.
  double keptShare = 1.0;
};

// zlib-compressed bytes.
std::string Deflate(std::string_view bytes);
// Rows of `columns` bytes, each preceded by its PNG filter type, the types taking turns 0 to 4 so
// that every filter is used; the last row is padded with zeros.
std::string PngPredicted(std::string_view bytes, int columns);
// The body of an object stream holding `objects`, for PdfBuilder::Object.
std::string ObjectStreamBody(const std::vector<PackedObject>& objects,
                             const ObjectStreamForm& form = {});

// Incompressible filler of `size` bytes inside a PDF string, different for each seed.
std::string NoiseString(std::size_t size, unsigned seed);

// The object that the cross-reference table of a repaired file points at for `number`, from its
// header to its "endobj", or nothing when the table has no entry in use for it.
std::optional<std::string> ObjectInOutput(const std::string& output, int number);
// The dictionary after "trailer" in a repaired file.
std::string TrailerOf(const std::string& output);

}  // namespace tarnwick::test

#include "packed_objects.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <random>

namespace tarnwick::test {

std::string Deflate(std::string_view bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    ADD_FAILURE() << "compress2 failed";
  }
  out.resize(size);
  return out;
}

namespace {

int PaethPredictor(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

}  // namespace

std::string PngPredicted(std::string_view bytes, int columns) {
  const auto width = static_cast<std::size_t>(columns);
  std::string padded(bytes);
  padded.resize((padded.size() + width - 1) / width * width, '\0');
  std::string out;
  std::string previous(width, '\0');
  for (std::size_t row = 0; row * width < padded.size(); ++row) {
    const std::string current = padded.substr(row * width, width);
    const int filter = static_cast<int>(row % 5);
    out.push_back(static_cast<char>(filter));
    for (std::size_t i = 0; i < width; ++i) {
      const int left = i > 0 ? static_cast<unsigned char>(current[i - 1]) : 0;
      const int up = static_cast<unsigned char>(previous[i]);
      const int upLeft = i > 0 ? static_cast<unsigned char>(previous[i - 1]) : 0;
      const int predicted = filter == 1   ? left
                            : filter == 2 ? up
                            : filter == 3 ? (left + up) / 2
                            : filter == 4 ? PaethPredictor(left, up, upLeft)
                                          : 0;
      out.push_back(static_cast<char>(static_cast<unsigned char>(current[i]) - predicted));
    }
    previous = current;
  }
  return out;
}

std::string ObjectStreamBody(const std::vector<PackedObject>& objects,
                             const ObjectStreamForm& form) {
  std::string header;
  std::string bodies;
  for (const PackedObject& object : objects) {
    header += std::to_string(object.number) + ' ' + std::to_string(bodies.size()) + ' ';
    bodies += object.body + '\n';
  }
  std::string data = header + bodies;
  std::string entries = "/Type /ObjStm /N " + std::to_string(objects.size()) + " /First " +
                        std::to_string(header.size());
  if (form.pngColumns > 0) data = PngPredicted(data, form.pngColumns);
  if (form.deflated) {
    data = Deflate(data);
    entries += " /Filter /FlateDecode";
  }
  if (form.pngColumns > 0) {
    entries += " /DecodeParms << /Predictor 12 /Columns " + std::to_string(form.pngColumns) + " >>";
  }
  entries += " /Length " + std::to_string(data.size());
  data.resize(static_cast<std::size_t>(static_cast<double>(data.size()) * form.keptShare));
  return "<< " + entries + " >>\nstream\n" + data + "\nendstream";
}

std::string NoiseString(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string text = "<";
  static constexpr char kHex[] = "0123456789abcdef";
  for (std::size_t i = 0; i < size; ++i) text += kHex[random() % 16];
  return text + ">";
}

std::optional<std::string> ObjectInOutput(const std::string& output, int number) {
  const auto xref = output.rfind("\nxref\n");
  if (xref == std::string::npos) return std::nullopt;
  const auto firstLine = output.find('\n', xref + 6) + 1;
  const std::size_t entry = firstLine + static_cast<std::size_t>(number) * 20;
  if (entry + 20 > output.size() || output.compare(entry + 17, 1, "n") != 0) return std::nullopt;
  const std::size_t offset = std::stoul(output.substr(entry, 10));
  const auto end = output.find("endobj\n", offset);
  if (end == std::string::npos) return std::nullopt;
  return output.substr(offset, end + 6 - offset);
}

std::string TrailerOf(const std::string& output) {
  const auto start = output.rfind("trailer\n");
  const auto end = output.find("startxref", start);
  if (start == std::string::npos || end == std::string::npos) return {};
  return output.substr(start + 8, end - start - 8);
}

}  // namespace tarnwick::test

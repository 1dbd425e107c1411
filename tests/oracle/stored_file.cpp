#include "stored_file.h"

#include <algorithm>
#include <regex>
#include <stdexcept>

#include "oracle_tools.h"

namespace tarnwick::oracle {

namespace {

std::string Padded(long long value, std::size_t width) {
  const std::string digits = std::to_string(value);
  return std::string(width - std::min(width, digits.size()), '0') + digits;
}

// `text` with the generation of every reference to an object of `generations` replaced.
std::string WithGenerations(const std::string& text, const std::map<int, int>& generations) {
  static const std::regex reference(R"((\d+) (\d+) R\b)");
  std::string result;
  auto copied = text.cbegin();
  for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
    const auto found = generations.find(std::stoi((*it)[1]));
    if (found == generations.end()) continue;
    result.append(copied, (*it)[0].first);
    result += (*it)[1].str() + " " + std::to_string(found->second) + " R";
    copied = (*it)[0].second;
  }
  return result.append(copied, text.cend());
}

}  // namespace

StoredFile StoredFile::Read(const std::filesystem::path& pdf) {
  const std::string listing = RunShell("qpdf --show-xref " + Quoted(pdf)).out;
  if (listing.find(": compressed;") != std::string::npos) {
    throw std::runtime_error(pdf.string() + " has object streams");
  }
  std::vector<std::size_t> offsets;
  static const std::regex entry(R"(\d+/\d+: uncompressed; offset = (\d+))");
  for (std::sregex_iterator it(listing.begin(), listing.end(), entry), end; it != end; ++it) {
    offsets.push_back(std::stoull((*it)[1]));
  }
  const std::string bytes = test::ReadFile(pdf);
  const std::size_t table = bytes.rfind("\nxref") + 1;
  if (offsets.empty() || table == 0)
    throw std::runtime_error("no objects listed in " + pdf.string());
  std::sort(offsets.begin(), offsets.end());
  offsets.push_back(table);

  StoredFile file;
  file.header = bytes.substr(0, offsets.front());
  static const std::regex head(R"((\d+) (\d+) obj)");
  for (std::size_t i = 0; i + 1 < offsets.size(); ++i) {
    const std::string text = bytes.substr(offsets[i], offsets[i + 1] - offsets[i]);
    std::smatch match;
    if (!std::regex_search(text, match, head, std::regex_constants::match_continuous)) {
      throw std::runtime_error("no object header at offset " + std::to_string(offsets[i]));
    }
    file.objects.push_back(
        {std::stoi(match[1]), std::stoi(match[2]), " ", text.substr(static_cast<std::size_t>(match.length()))});
  }
  file.trailer = RunShell("qpdf --show-object=trailer " + Quoted(pdf)).out;
  file.trailer.erase(file.trailer.find_last_not_of("\r\n") + 1);
  return file;
}

std::string StoredFile::Bytes() const {
  std::string bytes = header;
  std::map<int, std::pair<std::size_t, int>> entries;  // number: offset and generation
  for (const StoredObject& object : objects) {
    entries[object.number] = {bytes.size(), object.generation};
    const std::string& gap = object.separator;
    bytes += std::to_string(object.number) + gap + std::to_string(object.generation) + gap + "obj" +
             object.body;
  }
  const std::size_t table = bytes.size();
  const int size = entries.empty() ? 1 : entries.rbegin()->first + 1;
  bytes += "xref\n0 " + std::to_string(size) + "\n";
  for (int number = 0; number < size; ++number) {
    const auto found = entries.find(number);
    bytes += found == entries.end() ? "0000000000 65535 f \n"
                                    : Padded(static_cast<long long>(found->second.first), 10) + " " +
                                          Padded(found->second.second, 5) + " n \n";
  }
  bytes +=
      "trailer\n" +
      std::regex_replace(trailer, std::regex(R"(/Size \d+)"), "/Size " + std::to_string(size)) +
      "\nstartxref\n" + std::to_string(table) + "\n%%EOF\n";
  return bytes;
}

void StoredFile::SetGenerations(const std::map<int, int>& generations) {
  for (StoredObject& object : objects) {
    if (const auto found = generations.find(object.number); found != generations.end()) {
      object.generation = found->second;
    }
    // References stand in the dictionary; stream data is left as it is.
    const std::size_t data = object.body.find("stream");
    object.body = WithGenerations(object.body.substr(0, data), generations) +
                  (data == std::string::npos ? "" : object.body.substr(data));
  }
  trailer = WithGenerations(trailer, generations);
}

}  // namespace tarnwick::oracle

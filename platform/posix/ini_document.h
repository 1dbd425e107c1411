#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// The text of an INI file: "[section]" headers, "name=value" lines, and everything else
// (comments, blank lines) kept as it was. Section and value names compare without regard to
// ASCII case, as registry keys and value names do. A value is everything after the first '=',
// spaces included; only a line's trailing CR is not part of it.
class IniDocument {
 public:
  explicit IniDocument(std::string_view text);

  // The value of the first line named `name` in a section named `section`.
  std::optional<std::string> Find(std::string_view section, std::string_view name) const;
  // Replaces the first such value, or adds the line (and the section) when there is none.
  // False when the section, name or value cannot be written as one INI line.
  bool Set(std::string_view section, std::string_view name, std::string_view value);
  // Removes every section with that name: its header and values, and the comments among them;
  // false when there was none.
  bool RemoveSection(std::string_view section);

  // The text, with the line ending the file used (CRLF or LF) and a final line ending.
  std::string Text() const;

 private:
  // Where each line belongs: the index of its section's header, if any.
  std::vector<std::optional<std::size_t>> SectionOfLines() const;
  bool InSection(std::size_t header, std::string_view section) const;

  std::vector<std::string> lines_;  // without line endings
  std::string lineEnd_ = "\n";
};

}  // namespace tarnwick

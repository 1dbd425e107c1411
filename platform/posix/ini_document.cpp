#include "ini_document.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, {}, lower, lower);
}

// The section a header line opens, or nothing for any other line.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return Trim(line.substr(1, line.size() - 2));
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The name of a "name=value" line, or nothing for any other line.
std::optional<std::string_view> ValueName(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || IsComment(line) || HeaderName(line)) return std::nullopt;
  return Trim(line.substr(0, equals));
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      if (lines_.empty()) lineEnd_ = "\r\n";
    }
    lines_.emplace_back(line);
    text.remove_prefix(end == text.npos ? text.size() : end + 1);
  }
}

std::vector<std::optional<std::size_t>> IniDocument::SectionOfLines() const {
  std::vector<std::optional<std::size_t>> sections;
  std::optional<std::size_t> current;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (HeaderName(lines_[i])) current = i;
    sections.push_back(current);
  }
  return sections;
}

bool IniDocument::InSection(std::size_t header, std::string_view section) const {
  return SameName(*HeaderName(lines_[header]), section);
}

std::optional<std::string> IniDocument::Find(std::string_view section,
                                             std::string_view name) const {
  const auto sections = SectionOfLines();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto lineName = ValueName(lines_[i]);
    if (lineName && sections[i] && InSection(*sections[i], section) && SameName(*lineName, name)) {
      return lines_[i].substr(lines_[i].find('=') + 1);
    }
  }
  return std::nullopt;
}

bool IniDocument::Set(std::string_view section, std::string_view name, std::string_view value) {
  if (HasLineBreak(section) || section.find(']') != section.npos || Trim(section) != section ||
      section.empty() || HasLineBreak(name) || name.find('=') != name.npos || Trim(name) != name ||
      name.empty() || name.front() == ';' || name.front() == '#' || name.front() == '[' ||
      HasLineBreak(value)) {
    return false;
  }
  const auto sections = SectionOfLines();
  // The line after which a new value of the section goes: its last value (or its header), so
  // that comments and blank lines in front of the next section stay with that section.
  std::optional<std::size_t> lastOfSection;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!sections[i] || !InSection(*sections[i], section)) continue;
    const auto lineName = ValueName(lines_[i]);
    if (lineName && SameName(*lineName, name)) {
      // The name keeps its spelling and spacing as the file had it.
      lines_[i] = lines_[i].substr(0, lines_[i].find('=') + 1) + std::string(value);
      return true;
    }
    if (lineName || HeaderName(lines_[i])) {
      if (!lastOfSection || *sections[*lastOfSection] == *sections[i]) lastOfSection = i;
    }
  }
  std::string line = std::string(name) + '=' + std::string(value);
  if (lastOfSection) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*lastOfSection + 1),
                  std::move(line));
    return true;
  }
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  lines_.push_back('[' + std::string(section) + ']');
  lines_.push_back(std::move(line));
  return true;
}

bool IniDocument::RemoveSection(std::string_view section) {
  const auto sections = SectionOfLines();
  // A section runs from its header to its last value; comments and blank lines after that
  // stand in front of the next section and stay with it.
  std::vector<bool> removed(lines_.size(), false);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (sections[i] && InSection(*sections[i], section) &&
        (ValueName(lines_[i]) || HeaderName(lines_[i]))) {
      std::fill(removed.begin() + static_cast<std::ptrdiff_t>(*sections[i]),
                removed.begin() + static_cast<std::ptrdiff_t>(i + 1), true);
    }
  }
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!removed[i]) kept.push_back(std::move(lines_[i]));
  }
  const bool any = kept.size() != lines_.size();
  lines_ = std::move(kept);
  return any;
}

std::string IniDocument::Text() const {
  std::string text;
  for (const auto& line : lines_) text += line + lineEnd_;
  return text;
}

}  // namespace tarnwick

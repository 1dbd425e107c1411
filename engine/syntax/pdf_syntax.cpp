#include "pdf_syntax.h"

#include <algorithm>

#include "byte_classes.h"
#include "engine_limits.h"

namespace tarnwick {

namespace {

using limits::kMaxKeptItems;
using limits::kMaxNameLength;

constexpr int kMaxHeaderTokens = 8;
constexpr std::int64_t kIntegerCeiling = std::int64_t{1} << 53;

int HexValue(int c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

const PdfValue* PdfDictionary::Find(std::string_view key) const {
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (entry->key == key) return &entry->value;
  }
  return nullptr;
}

PdfSyntax::PdfSyntax(SourceReader& reader, std::int64_t limit)
    : reader_(reader), limit_(std::min(limit, reader.Length())) {}

std::int64_t PdfSyntax::SkipSpace(std::int64_t at) {
  for (;;) {
    const int c = At(at);
    if (IsPdfSpace(c)) {
      ++at;
    } else if (c == '%') {
      while (at < limit_ && !IsLineEnd(At(at))) ++at;
    } else {
      return at;
    }
  }
}

std::int64_t PdfSyntax::RegularRunEnd(std::int64_t at) {
  while (IsRegular(At(at))) ++at;
  return at;
}

std::optional<PdfValue> PdfSyntax::ReadValue(std::int64_t& at) { return Value(at, 0, true); }

std::optional<PdfDictionary> PdfSyntax::ReadDictionary(std::int64_t at) {
  at = SkipSpace(at);
  if (At(at) != '<' || At(at + 1) != '<') return std::nullopt;
  at += 2;
  PdfDictionary dictionary;
  if (!SkipDictionaryBody(at, 1, &dictionary)) return std::nullopt;
  dictionary.end = at;
  return dictionary;
}

std::optional<std::vector<PdfValue>> PdfSyntax::ReadArray(std::int64_t at) {
  at = SkipSpace(at);
  if (At(at) != '[') return std::nullopt;
  ++at;
  std::vector<PdfValue> items;
  if (!SkipArrayBody(at, 1, &items)) return std::nullopt;
  return items;
}

std::optional<std::int64_t> PdfSyntax::AfterObjectHeader(std::int64_t at) {
  for (int token = 0; token < kMaxHeaderTokens; ++token) {
    at = SkipSpace(at);
    const std::int64_t end = RegularRunEnd(at);
    if (end == at) return std::nullopt;  // a delimiter before any "obj"
    if (end - at == 3 && reader_.Matches(at, "obj")) return end;
    at = end;
  }
  return std::nullopt;
}

std::optional<std::int64_t> PdfSyntax::StreamDataStart(std::int64_t at) {
  at = SkipSpace(at);
  if (RegularRunEnd(at) != at + 6 || !reader_.Matches(at, "stream")) return std::nullopt;
  at += 6;
  if (At(at) == '\r') ++at;
  if (At(at) == '\n') ++at;
  return at;
}

std::vector<std::int64_t> PdfSyntax::ReadIntegers(std::int64_t at, std::size_t count) {
  std::vector<std::int64_t> numbers;
  while (numbers.size() < count) {
    at = SkipSpace(at);
    const int c = At(at);
    if (!IsDigit(c) && c != '+' && c != '-') break;
    const std::optional<PdfValue> number = Number(at);
    if (!number || number->kind != PdfValue::Kind::kInteger) break;
    numbers.push_back(number->integer);
  }
  return numbers;
}

std::optional<PdfValue> PdfSyntax::Value(std::int64_t& at, int depth, bool kept) {
  at = SkipSpace(at);
  PdfValue value;
  value.begin = at;
  const int c = At(at);
  if (c == '/') {
    value.kind = PdfValue::Kind::kName;
    if (kept) {
      std::optional<std::string> name = Name(at);
      if (!name) return std::nullopt;
      value.name = std::move(*name);
    } else {
      at = RegularRunEnd(at + 1);  // a value inside a container nobody keeps needs no text
    }
  } else if (c == '(') {
    if (!SkipLiteralString(at)) return std::nullopt;
    value.kind = PdfValue::Kind::kString;
  } else if (c == '<' && At(at + 1) == '<') {
    if (depth >= kMaxDepth) return std::nullopt;
    at += 2;
    if (!SkipDictionaryBody(at, depth + 1, nullptr)) return std::nullopt;
    value.kind = PdfValue::Kind::kDictionary;
  } else if (c == '<') {
    if (!SkipHexString(at)) return std::nullopt;
    value.kind = PdfValue::Kind::kString;
  } else if (c == '[') {
    if (depth >= kMaxDepth) return std::nullopt;
    ++at;
    if (!SkipArrayBody(at, depth + 1, nullptr)) return std::nullopt;
    value.kind = PdfValue::Kind::kArray;
  } else if (IsDigit(c) || c == '+' || c == '-' || c == '.') {
    return Number(at);
  } else if (IsRegular(c)) {
    const std::int64_t end = RegularRunEnd(at);
    if (end - at == 4 && reader_.Matches(at, "true")) {
      value.kind = PdfValue::Kind::kBoolean;
      value.integer = 1;
    } else if (end - at == 5 && reader_.Matches(at, "false")) {
      value.kind = PdfValue::Kind::kBoolean;
    } else if (end - at == 4 && reader_.Matches(at, "null")) {
      value.kind = PdfValue::Kind::kNull;
    } else {
      return std::nullopt;  // a keyword such as "endobj" is no value
    }
    at = end;
  } else {
    return std::nullopt;
  }
  value.end = at;
  return value;
}

bool PdfSyntax::SkipDictionaryBody(std::int64_t& at, int depth, PdfDictionary* keep) {
  for (;;) {
    at = SkipSpace(at);
    if (At(at) == '>' && At(at + 1) == '>') {
      at += 2;
      return true;
    }
    if (At(at) != '/') return false;
    const std::int64_t keyBegin = at;
    std::optional<std::string> key = Name(at);
    if (!key) return false;
    std::optional<PdfValue> value = Value(at, depth, keep != nullptr);
    if (!value) return false;
    if (keep) {
      if (keep->entries.size() == kMaxKeptItems) return false;
      keep->entries.push_back({std::move(*key), keyBegin, std::move(*value)});
    }
  }
}

bool PdfSyntax::SkipArrayBody(std::int64_t& at, int depth, std::vector<PdfValue>* keep) {
  for (;;) {
    at = SkipSpace(at);
    if (At(at) == ']') {
      ++at;
      return true;
    }
    std::optional<PdfValue> value = Value(at, depth, keep != nullptr);
    if (!value) return false;
    if (keep) {
      if (keep->size() == kMaxKeptItems) return false;
      keep->push_back(std::move(*value));
    }
  }
}

bool PdfSyntax::SkipLiteralString(std::int64_t& at) {
  int open = 0;
  for (; at < limit_; ++at) {
    const int c = At(at);
    if (c == '\\') {
      ++at;
    } else if (c == '(') {
      ++open;
    } else if (c == ')' && --open == 0) {
      ++at;
      return true;
    }
  }
  return false;
}

bool PdfSyntax::SkipHexString(std::int64_t& at) {
  for (++at; at < limit_; ++at) {
    const int c = At(at);
    if (c == '>') {
      ++at;
      return true;
    }
    if (!IsHexDigit(c) && !IsPdfSpace(c)) return false;
  }
  return false;
}

std::optional<std::string> PdfSyntax::Name(std::int64_t& at) {
  std::string name;
  for (++at; IsRegular(At(at)); ++at) {
    int c = At(at);
    const int high = c == '#' ? HexValue(At(at + 1)) : -1;
    const int low = high >= 0 ? HexValue(At(at + 2)) : -1;
    if (low >= 0) {
      c = high * 16 + low;
      at += 2;
    }
    if (name.size() == kMaxNameLength) return std::nullopt;
    name.push_back(static_cast<char>(c));
  }
  return name;
}

std::optional<PdfValue> PdfSyntax::Number(std::int64_t& at) {
  PdfValue value;
  value.begin = at;
  std::int64_t p = at;
  bool negative = false;
  if (At(p) == '+' || At(p) == '-') negative = At(p++) == '-';
  std::int64_t magnitude = 0;
  bool digits = false;
  bool real = false;
  for (;; ++p) {
    const int c = At(p);
    if (IsDigit(c)) {
      digits = true;
      if (!real) magnitude = std::min(kIntegerCeiling, magnitude * 10 + (c - '0'));
    } else if (c == '.' && !real) {
      real = true;
    } else {
      break;
    }
  }
  if (!digits || RegularRunEnd(at) != p) return std::nullopt;
  value.kind = real ? PdfValue::Kind::kReal : PdfValue::Kind::kInteger;
  value.integer = negative ? -magnitude : magnitude;
  at = p;
  value.end = p;
  if (!real && !negative && At(value.begin) != '+') {
    // "12 0 R": a generation of digits alone, then a lone R.
    const std::int64_t generation = SkipSpace(p);
    const std::int64_t generationEnd = RegularRunEnd(generation);
    bool allDigits = generationEnd > generation;
    for (std::int64_t g = generation; g < generationEnd && allDigits; ++g) {
      allDigits = IsDigit(At(g));
    }
    if (allDigits) {
      const std::int64_t r = SkipSpace(generationEnd);
      if (At(r) == 'R' && RegularRunEnd(r) == r + 1) {
        value.kind = PdfValue::Kind::kReference;
        at = r + 1;
        value.end = at;
      }
    }
  }
  return value;
}

}  // namespace tarnwick

#include "tree_dictionary.h"

#include <string_view>

#include "byte_classes.h"
#include "literal_string.h"
#include "pdf_syntax.h"

namespace tarnwick {

namespace {

// Reference numbers beyond this are out of any object's range; larger values stop growing here.
constexpr std::int64_t kNumberCeiling = std::int64_t{1} << 40;

// The tokens of the grammar, read from a SourceReader, never at or past the limit.
class TreeTokens {
 public:
  enum class Kind {
    kInvalid,
    kDictionaryOpen,
    kDictionaryClose,
    kArrayOpen,
    kArrayClose,
    kName,
    kString,
    kWord
  };
  struct Token {
    Kind kind = Kind::kInvalid;
    std::int64_t begin = 0;
    std::int64_t end = 0;
  };

  TreeTokens(SourceReader& reader, std::int64_t limit) : reader_(reader), limit_(limit) {}

  Token Next(std::int64_t& at) {
    at = SkipSpace(at);
    Token token{Kind::kInvalid, at, at};
    const int c = At(at);
    if (c == '<' && At(at + 1) == '<') {
      token = {Kind::kDictionaryOpen, at, at + 2};
    } else if (c == '>' && At(at + 1) == '>') {
      token = {Kind::kDictionaryClose, at, at + 2};
    } else if (c == '[') {
      token = {Kind::kArrayOpen, at, at + 1};
    } else if (c == ']') {
      token = {Kind::kArrayClose, at, at + 1};
    } else if (c == '/') {
      std::int64_t end = at + 1;
      while (IsRegular(At(end))) ++end;
      token = {Kind::kName, at, end};
    } else if (c == '(') {
      const std::int64_t end = LiteralStringEnd(at, [this](std::int64_t i) { return At(i); });
      if (end >= 0) token = {Kind::kString, at, end};
    } else if (c == '<') {
      std::int64_t end = at + 1;
      while (IsHexDigit(At(end)) || IsPdfSpace(At(end))) ++end;
      if (At(end) == '>') token = {Kind::kString, at, end + 1};
    } else if (IsRegular(c)) {
      std::int64_t end = at;
      while (IsRegular(At(end))) ++end;
      token = {Kind::kWord, at, end};
    }
    at = token.end;
    return token;
  }

  bool IsWord(const Token& token, std::string_view word) {
    return token.kind == Kind::kWord && token.end - token.begin == std::ssize(word) &&
           reader_.Matches(token.begin, word);
  }

  // The value of an unsigned integer word ("12", "007"), capped; none for any other token.
  std::optional<std::int64_t> UnsignedInteger(const Token& token) {
    if (token.kind != Kind::kWord) return std::nullopt;
    std::int64_t value = 0;
    for (std::int64_t at = token.begin; at < token.end; ++at) {
      const int c = At(at);
      if (!IsDigit(c)) return std::nullopt;
      value = std::min(kNumberCeiling, value * 10 + (c - '0'));
    }
    return value;
  }

  // [+-]digits[.digits] or [+-].digits
  bool IsNumber(const Token& token) {
    std::int64_t at = token.begin;
    if (At(at) == '+' || At(at) == '-') ++at;
    const std::int64_t integerStart = at;
    while (at < token.end && IsDigit(At(at))) ++at;
    const bool integerDigits = at > integerStart;
    if (at < token.end && At(at) == '.') {
      const std::int64_t fractionStart = ++at;
      while (at < token.end && IsDigit(At(at))) ++at;
      if (at == fractionStart) return false;
    } else if (!integerDigits) {
      return false;
    }
    return at == token.end;
  }

  bool IsNameOf(const Token& token, std::string_view key) {
    return token.end - token.begin == std::ssize(key) + 1 && reader_.Matches(token.begin + 1, key);
  }

 private:
  int At(std::int64_t at) { return at < limit_ ? reader_.ByteAt(at) : -1; }

  std::int64_t SkipSpace(std::int64_t at) {
    for (;;) {
      const int c = At(at);
      if (IsPdfSpace(c)) {
        ++at;
      } else if (c == '%') {
        while (At(at) >= 0 && !IsLineEnd(At(at))) ++at;
      } else {
        return at;
      }
    }
  }

  SourceReader& reader_;
  std::int64_t limit_;
};

using Kind = TreeTokens::Kind;

}  // namespace

std::optional<TreeDictionary> ReadTreeDictionary(SourceReader& reader, std::int64_t start,
                                                 std::int64_t end) {
  PdfSyntax syntax(reader, end);
  const std::optional<std::int64_t> body = syntax.AfterObjectHeader(start);
  if (!body) return std::nullopt;
  TreeTokens tokens(reader, end);
  std::int64_t at = *body;
  if (tokens.Next(at).kind != Kind::kDictionaryOpen) return std::nullopt;

  // The containers open around the position: true for a dictionary still waiting for its key's
  // value, false for one waiting for a key, and arrays as their own entry.
  enum class Open { kDictionaryKey, kDictionaryValue, kArray };
  std::vector<Open> open{Open::kDictionaryKey};
  enum class Key { kOther, kPages, kKids } key = Key::kOther;  // of the outermost dictionary
  bool pagesSeen = false;
  bool kidsSeen = false;
  bool inKids = false;  // in the outermost dictionary's first /Kids array
  TreeDictionary found;
  auto valueDone = [&open] {
    if (!open.empty() && open.back() == Open::kDictionaryValue) open.back() = Open::kDictionaryKey;
  };

  while (!open.empty()) {
    TreeTokens::Token token = tokens.Next(at);
    if (open.back() == Open::kDictionaryKey) {
      if (token.kind == Kind::kDictionaryClose) {
        open.pop_back();
        valueDone();
        continue;
      }
      if (token.kind != Kind::kName) return std::nullopt;
      open.back() = Open::kDictionaryValue;
      if (open.size() == 1) {
        key = Key::kOther;
        if (!pagesSeen && tokens.IsNameOf(token, "Pages")) {
          key = Key::kPages;
          pagesSeen = true;
        } else if (!kidsSeen && tokens.IsNameOf(token, "Kids")) {
          key = Key::kKids;
          kidsSeen = true;
        }
      }
      continue;
    }
    const bool topValue = open.size() == 1;
    const bool kidsItem = inKids && open.size() == 2;
    switch (token.kind) {
      case Kind::kArrayClose:
        if (open.back() != Open::kArray) return std::nullopt;
        if (kidsItem) inKids = false;
        open.pop_back();
        valueDone();
        break;
      case Kind::kDictionaryOpen:
        open.push_back(Open::kDictionaryKey);
        break;
      case Kind::kArrayOpen:
        if (topValue && key == Key::kKids) {
          inKids = true;
          found.kids.emplace();
        }
        open.push_back(Open::kArray);
        break;
      case Kind::kName:
      case Kind::kString:
        valueDone();
        break;
      case Kind::kWord: {
        // A reference is two unsigned integers and "R"; otherwise the first word stands alone.
        if (const std::optional<std::int64_t> number = tokens.UnsignedInteger(token)) {
          std::int64_t afterNumber = at;
          const TreeTokens::Token generation = tokens.Next(afterNumber);
          std::int64_t afterGeneration = afterNumber;
          if (tokens.UnsignedInteger(generation) &&
              tokens.IsWord(tokens.Next(afterGeneration), "R")) {
            at = afterGeneration;
            if (topValue && key == Key::kPages) found.pages = *number;
            if (kidsItem) found.kids->push_back(*number);
            valueDone();
            break;
          }
        }
        if (!tokens.IsNumber(token) && !tokens.IsWord(token, "true") &&
            !tokens.IsWord(token, "false") && !tokens.IsWord(token, "null")) {
          return std::nullopt;
        }
        valueDone();
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return found;
}

}  // namespace tarnwick

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine_limits.h"
#include "source_reader.h"

namespace tarnwick {

// One value as the syntax reader met it. Containers are checked through to their end but their
// contents are not kept; reading them again at `begin` gives their items.
struct PdfValue {
  enum class Kind : std::uint8_t {
    kNull,
    kBoolean,
    kInteger,
    kReal,
    kName,
    kString,
    kArray,
    kDictionary,
    kReference,
  };
  Kind kind = Kind::kNull;
  std::int64_t begin = 0;    // the value's first byte
  std::int64_t end = 0;      // the byte after its last
  std::int64_t integer = 0;  // an integer's value, or a reference's object number
  std::string name;          // a name without its slash, #xx escapes decoded

  bool IsName(std::string_view wanted) const { return kind == Kind::kName && name == wanted; }
};

// The value's integer, when there is a value and it is an integer.
inline std::optional<std::int64_t> IntegerOf(const PdfValue* value) {
  if (!value || value->kind != PdfValue::Kind::kInteger) return std::nullopt;
  return value->integer;
}

struct PdfEntry {
  std::string key;
  std::int64_t keyBegin = 0;  // the key's slash
  PdfValue value;
};

struct PdfDictionary {
  std::vector<PdfEntry> entries;  // in the order written
  std::int64_t end = 0;           // the byte after ">>"

  // The last entry with this key (a later key wins, as readers take it), or null.
  const PdfValue* Find(std::string_view key) const;
};

// The engine reads PDF syntax in three ways, each for a reason of its own:
// - PdfSyntax (here), the general reader: values of any kind, names decoded, containers no
//   deeper than kMaxDepth, for the dictionaries the copy and the security handler look into;
// - TreeTokens (tree_dictionary.cpp), the page-tree walk's reader: it accepts a catalog or a tree
//   node exactly when the repair's rules do (any depth, keys compared as written), and the order
//   of the pages in every copy depends on that, so it stays apart from the general reader;
// - RunCursor (run_cursor.h), a matcher of fixed byte patterns over a buffer already read, for
//   the identifier and trailer entries that the copy takes over as they stand.
//
// A reader of PDF syntax for the few jobs that need more than keywords: the dictionary of an
// object, an object stream's header, a page's attributes. It reads tokens, numbers, names,
// strings, arrays, dictionaries and references from a SourceReader, never past `limit`, never
// deeper than kMaxDepth containers, and never trusts a length: every string and container must
// be closed before the limit, else the read fails.
class PdfSyntax {
 public:
  static constexpr int kMaxDepth = limits::kMaxSyntaxDepth;

  PdfSyntax(SourceReader& reader, std::int64_t limit);

  // The byte at or after `at` that is neither white space nor inside a comment.
  std::int64_t SkipSpace(std::int64_t at);
  // One value at `at` (after white space); `at` moves past it.
  std::optional<PdfValue> ReadValue(std::int64_t& at);
  // The entries of the dictionary at `at` (after white space).
  std::optional<PdfDictionary> ReadDictionary(std::int64_t at);
  // The items of the array at `at` (after white space).
  std::optional<std::vector<PdfValue>> ReadArray(std::int64_t at);
  // The byte after the "obj" of an object header "N G obj" at `at`; tolerates a few stray tokens
  // before the header on its line.
  std::optional<std::int64_t> AfterObjectHeader(std::int64_t at);
  // The first byte of a stream's data when the "stream" keyword and its line end follow `at`.
  std::optional<std::int64_t> StreamDataStart(std::int64_t at);
  // The integers at `at` as long as they follow each other, at most `count` of them.
  std::vector<std::int64_t> ReadIntegers(std::int64_t at, std::size_t count);

 private:
  // `kept`: the caller keeps the value, so a name's text is decoded.
  std::optional<PdfValue> Value(std::int64_t& at, int depth, bool kept);
  bool SkipDictionaryBody(std::int64_t& at, int depth, PdfDictionary* keep);
  bool SkipArrayBody(std::int64_t& at, int depth, std::vector<PdfValue>* keep);
  bool SkipLiteralString(std::int64_t& at);
  bool SkipHexString(std::int64_t& at);
  std::optional<std::string> Name(std::int64_t& at);
  // A number at `at`; an integer followed by a generation and "R" becomes a reference.
  std::optional<PdfValue> Number(std::int64_t& at);
  std::int64_t RegularRunEnd(std::int64_t at);
  int At(std::int64_t at) { return at < limit_ ? reader_.ByteAt(at) : -1; }

  SourceReader& reader_;
  std::int64_t limit_;
};

}  // namespace tarnwick

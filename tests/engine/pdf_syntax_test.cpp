// The syntax reader on bytes in memory: what it reads, and where it refuses to read on.
#include "pdf_syntax.h"

#include <gtest/gtest.h>

#include <string>

#include "pdf_strings.h"

namespace tarnwick {
namespace {

struct Syntax {
  explicit Syntax(std::string text, std::int64_t limit = -1)
      : bytes(std::move(text)),
        reader(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())),
        syntax(reader, limit < 0 ? static_cast<std::int64_t>(bytes.size()) : limit) {}
  std::string Raw(const PdfValue& value) const {
    return bytes.substr(static_cast<std::size_t>(value.begin),
                        static_cast<std::size_t>(value.end - value.begin));
  }
  std::string bytes;
  SourceReader reader;
  PdfSyntax syntax;
};

TEST(PdfSyntax, ReadsEveryKindOfValueWithItsSpan) {
  Syntax s(
      "<< /Int -12 /Real 3.25 /Name /A#20b /Str (a (nested) \\) string) /Hex <4142 43>\n"
      "   /Ref 12 0 R /Arr [1 0 0 1 0 0] /Dict << /In [<< >>] >> /T true /F false /N null >>");
  const auto dictionary = s.syntax.ReadDictionary(0);
  ASSERT_TRUE(dictionary.has_value());
  ASSERT_EQ(dictionary->entries.size(), 11u);
  EXPECT_EQ(dictionary->end, static_cast<std::int64_t>(s.bytes.size()));

  using Kind = PdfValue::Kind;
  auto expect = [&](const char* key, Kind kind, const std::string& raw) {
    SCOPED_TRACE(key);
    const PdfValue* value = dictionary->Find(key);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->kind, kind);
    EXPECT_EQ(s.Raw(*value), raw);
  };
  expect("Int", Kind::kInteger, "-12");
  expect("Real", Kind::kReal, "3.25");
  expect("Name", Kind::kName, "/A#20b");
  expect("Str", Kind::kString, "(a (nested) \\) string)");
  expect("Hex", Kind::kString, "<4142 43>");
  expect("Ref", Kind::kReference, "12 0 R");
  expect("Arr", Kind::kArray, "[1 0 0 1 0 0]");
  expect("Dict", Kind::kDictionary, "<< /In [<< >>] >>");
  expect("T", Kind::kBoolean, "true");
  expect("N", Kind::kNull, "null");
  EXPECT_EQ(dictionary->Find("Int")->integer, -12);
  EXPECT_EQ(dictionary->Find("Name")->name, "A b");
  EXPECT_EQ(dictionary->Find("Ref")->integer, 12);
  EXPECT_TRUE(dictionary->Find("Name")->IsName("A b"));
}

TEST(PdfSyntax, ArrayItemsAreNumbersUnlessAGenerationAndRFollow) {
  Syntax s("[1 0 0 1 5 0 R 7 % a comment\n 0 R]");
  const auto items = s.syntax.ReadArray(0);
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 6u);
  EXPECT_EQ((*items)[3].kind, PdfValue::Kind::kInteger);
  EXPECT_EQ((*items)[4].kind, PdfValue::Kind::kReference);
  EXPECT_EQ((*items)[4].integer, 5);
  EXPECT_EQ((*items)[5].kind, PdfValue::Kind::kReference);
  EXPECT_EQ((*items)[5].integer, 7);
  // A signed number is no object number, and a lone R is no value: the array is unreadable.
  Syntax signedReference("[+3 0 R]");
  EXPECT_FALSE(signedReference.syntax.ReadArray(0).has_value());
}

TEST(PdfSyntax, LaterKeyWins) {
  Syntax s("<</Type/Page/Type/Pages>>");
  const auto dictionary = s.syntax.ReadDictionary(0);
  ASSERT_TRUE(dictionary.has_value());
  EXPECT_TRUE(dictionary->Find("Type")->IsName("Pages"));
}

TEST(PdfSyntax, UnclosedOrBrokenValuesFail) {
  for (const std::string text :
       {"<< /A (never closed >>", "<< /A <41 zz> >>", "<< /A [1 2 >>", "<< /A 1 /B >>", "<< A 1 >>",
        "<< /A endobj >>", "<< /A 1", "<< /A 1 ] >>"}) {
    SCOPED_TRACE(text);
    Syntax s(text);
    EXPECT_FALSE(s.syntax.ReadDictionary(0).has_value());
  }
}

TEST(PdfSyntax, NeverReadsPastItsLimit) {
  const std::string text = "<< /A (abc) >>";
  Syntax whole(text);
  EXPECT_TRUE(whole.syntax.ReadDictionary(0).has_value());
  for (std::int64_t limit = 0; limit < static_cast<std::int64_t>(text.size()); ++limit) {
    Syntax cut(text, limit);
    EXPECT_FALSE(cut.syntax.ReadDictionary(0).has_value()) << "limit " << limit;
  }
}

TEST(PdfSyntax, NestingDeeperThanTheBoundFails) {
  auto nested = [](int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') +
           std::string(static_cast<std::size_t>(depth), ']');
  };
  Syntax allowed(nested(PdfSyntax::kMaxDepth));
  EXPECT_TRUE(allowed.syntax.ReadArray(0).has_value());
  Syntax tooDeep(nested(PdfSyntax::kMaxDepth + 1));
  EXPECT_FALSE(tooDeep.syntax.ReadArray(0).has_value());
  Syntax hostile(std::string(1000000, '['));
  EXPECT_FALSE(hostile.syntax.ReadArray(0).has_value());
}

TEST(PdfSyntax, ObjectHeaderAndStreamStart) {
  Syntax s("  12 0 obj\n<< /Length 3 >>\r\nstream\r\nabc\nendstream");
  const auto body = s.syntax.AfterObjectHeader(0);
  ASSERT_TRUE(body.has_value());
  const auto dictionary = s.syntax.ReadDictionary(*body);
  ASSERT_TRUE(dictionary.has_value());
  const auto data = s.syntax.StreamDataStart(dictionary->end);
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(s.bytes.substr(static_cast<std::size_t>(*data), 3), "abc");

  Syntax noHeader("<< /A 1 >>");
  EXPECT_FALSE(noHeader.syntax.AfterObjectHeader(0).has_value());
  Syntax noStream("<< >> streamer");
  EXPECT_FALSE(noStream.syntax.StreamDataStart(5).has_value());
}

TEST(PdfSyntax, IntegersStopAtTheFirstOtherToken) {
  Syntax s("4 0 5 17 6 1.5 7 40");
  EXPECT_EQ(s.syntax.ReadIntegers(0, 100), (std::vector<std::int64_t>{4, 0, 5, 17, 6}));
  EXPECT_EQ(s.syntax.ReadIntegers(0, 3), (std::vector<std::int64_t>{4, 0, 5}));
}

std::string Bytes(std::string_view token) {
  const auto bytes = StringBytes(std::span(reinterpret_cast<const std::uint8_t*>(token.data()),
                                           token.size()));
  return {bytes.begin(), bytes.end()};
}

// The bytes a string stands for are what encryption works on: a byte read wrongly garbles it.
TEST(PdfSyntax, StringsStandForTheBytesReadersTakeFromThem) {
  const std::vector<std::pair<std::string, std::string>> strings = {
      {"(plain)", "plain"},
      {"(a (nested) pair)", "a (nested) pair"},
      {R"((\( \) \\ \n\r\t\b\f \q))", std::string("( ) \\ \n\r\t\b\f q")},
      {R"((\101\0612\7))", "A12\a"},
      {"(\\101\\1012)", "AA2"},
      {"(line\\\r\njoined\\\nhere)", "linejoinedhere"},
      {"(cr\rcrlf\r\nlf\n)", "cr\ncrlf\nlf\n"},
      {"<41 42\n4a6b>", "ABJk"},
      {"<414>", "A@"},
      {"<>", ""},
  };
  for (const auto& [token, bytes] : strings) EXPECT_EQ(Bytes(token), bytes) << token;
}

TEST(PdfSyntax, TransformedStringsBecomeHexAndNothingElseChanges) {
  const std::string object =
      "<< /T (a (b) c) /H <6869> /D << /K [(x)] >> % (not a string)\n/N /Na#28me >>";
  const auto transformed =
      TransformStrings(std::span(reinterpret_cast<const std::uint8_t*>(object.data()),
                                 object.size()),
                       [](std::span<const std::uint8_t> bytes) {
                         std::vector<std::uint8_t> upper(bytes.begin(), bytes.end());
                         for (auto& b : upper) b = static_cast<std::uint8_t>(std::toupper(b));
                         return upper;
                       });
  EXPECT_EQ(std::string(transformed.begin(), transformed.end()),
            "<< /T <41202842292043> /H <4849> /D << /K [<58>] >> % (not a string)\n"
            "/N /Na#28me >>");
}

}  // namespace
}  // namespace tarnwick

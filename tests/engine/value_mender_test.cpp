// What mending makes of an object's value: whole values untouched, damage cut off, references
// to objects the copy does not hold resolved by where they stand.
#include "value_mender.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwick {
namespace {

using Verdict = MendedValue::Verdict;

constexpr std::int64_t kFont = 100;
constexpr std::int64_t kForm = 101;

struct MendCase {
  const char* name;
  const char* value;
  Verdict verdict;
  const char* text;  // the value written anew, when it is
  std::vector<ObjectMendKind> mends = {};
  bool complete = true;
};

MendedValue Mend(const std::string& value, bool complete, const std::vector<EntryEdit>& edits = {}) {
  // Objects 1 to 9 are held, 8 and 9 with a value that is no dictionary; 50 and above are lost.
  const ReferenceRepair repair{[](std::int64_t number) { return number < 10; },
                               [](std::int64_t number) { return number < 8; }, kFont, kForm};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(value.data());
  return MendValue(std::span(bytes, value.size()), complete, repair, edits);
}

class ValueMending : public testing::TestWithParam<MendCase> {};

TEST_P(ValueMending, WritesAnewOnlyWhatAStrictReaderWouldReject) {
  const MendCase& c = GetParam();
  const MendedValue mended = Mend(c.value, c.complete);
  EXPECT_EQ(mended.verdict, c.verdict);
  if (c.verdict == Verdict::kMended) {
    EXPECT_EQ(mended.text, c.text);
  }
  std::vector<ObjectMendKind> kinds;
  for (const ObjectMend& mend : mended.mends) kinds.push_back(mend.kind);
  EXPECT_EQ(kinds, c.mends);
}

using K = ObjectMendKind;
INSTANTIATE_TEST_SUITE_P(
    Values, ValueMending,
    testing::Values(
        MendCase{"Whole", "\n<< /A 1 /B [1 2 (a (b) \\) c) <41 42>] /C << /D 3 0 R >> /E -.5 >>\n",
                 Verdict::kWhole, ""},
        MendCase{"CommentsAndNamesWithEscapes", "<< /A#20B 1 % note\n/C /D#2F >>", Verdict::kWhole, ""},
        MendCase{"LostReferenceInADictionaryDropsTheEntry", "<< /A 50 0 R /B 2 >>", Verdict::kMended,
                 "<<  /B 2 >>", {K::kReferenceNulled}},
        MendCase{"LostReferenceInAnArrayBecomesNull", "[1 50 0 R 2]", Verdict::kMended, "[1 null 2]",
                 {K::kReferenceNulled}},
        MendCase{"LostFontBecomesTheStandardFont", "<< /Font << /F1 50 0 R /F2 3 0 R >> >>",
                 Verdict::kMended, "<< /Font << /F1 100 0 R /F2 3 0 R >> >>", {K::kFontReplaced}},
        MendCase{"LostXObjectBecomesTheEmptyForm", "<< /XObject << /Im1 51 0 R >> >>",
                 Verdict::kMended, "<< /XObject << /Im1 101 0 R >> >>", {K::kXObjectReplaced}},
        MendCase{"FontThatIsNoDictionaryIsLostToo", "<< /Font << /F1 8 0 R >> /A 9 0 R >>",
                 Verdict::kMended, "<< /Font << /F1 100 0 R >> /A 9 0 R >>", {K::kFontReplaced}},
        MendCase{"LostContentStreamLeavesTheArray", "<< /Contents [4 0 R 52 0 R 5 0 R] >>",
                 Verdict::kMended, "<< /Contents [4 0 R  5 0 R] >>", {K::kContentDropped}},
        MendCase{"DamageCutsTheRestAndClosesWhatIsOpen", "<< /A [1 (x) ) /B 2 >>",
                 Verdict::kMended, "<< /A [1 (x) ] >>", {K::kValueCut}},
        MendCase{"KeyThatLostItsValueIsDropped", "<< /A 1 /B }", Verdict::kMended, "<< /A 1 >>",
                 {K::kValueCut}},
        MendCase{"NoNameWhereAKeyMustBe", "<< /A 1 2 3 >>", Verdict::kMended, "<< /A 1 >>",
                 {K::kValueCut}},
        MendCase{"ValueCutShortByTheObjectsEnd", "<< /Kids [1 0 R 2 0", Verdict::kMended,
                 "<< /Kids [1 0 R 2 0 ] >>", {K::kValueCut}},
        MendCase{"TextAfterACompleteValueIsDropped", "<< /A 1 >>\nxref\n0 5\n", Verdict::kMended,
                 "<< /A 1 >>", {K::kValueCut}},
        MendCase{"IntegerBeyond64Bits", "<< /A 1 /B 123456789012345678901 >>", Verdict::kMended,
                 "<< /A 1 >>", {K::kValueCut}},
        MendCase{"NumberWithAGarbledLastByteKeepsItsDigits", "<< /V 5\xf9 /R 6 >>",
                 Verdict::kMended, "<< /V 5 /R 6 >>", {K::kValueCut}},
        MendCase{"NameWithAStrayEscape", "<< /A 1 /B#4 2 >>", Verdict::kMended, "<< /A 1 >>",
                 {K::kValueCut}},
        MendCase{"KeyNamedTwiceKeepsTheLaterEntry", "<< /A 1 /B << /A 2 >> /A 3 /C 4 >>",
                 Verdict::kMended, "<<  /B << /A 2 >> /A 3 /C 4 >>", {K::kDuplicateKey}},
        MendCase{"KeyAtTheEndOfADictionaryWithoutValue", "<< /A 1 /B >>", Verdict::kMended,
                 "<< /A 1 >>", {K::kValueCut}},
        MendCase{"NothingParses", "\n) 12 0 R", Verdict::kNothingParses, ""},
        MendCase{"EmptyObject", "\n  \n", Verdict::kNothingParses, ""},
        MendCase{"PartOfTheBytesEndingInsideAString", "<< /A (abc", Verdict::kTooLarge, "", {},
                 false}),
    [](const testing::TestParamInfo<MendCase>& row) { return row.param.name; });

TEST(ValueMending, StreamKeywordEndsTheValueAlsoAfterDamage) {
  const MendedValue whole = Mend("<< /Length 5 >>\nstream\nabcde\nendstream\n", true);
  EXPECT_EQ(whole.verdict, Verdict::kWhole);
  EXPECT_EQ(whole.streamKeyword, 16u);
  const MendedValue cut = Mend("<< /Length 5 /Filter ) >>\nstream\nab)de\nendstream\n", true);
  EXPECT_EQ(cut.verdict, Verdict::kMended);
  EXPECT_EQ(cut.text, "<< /Length 5 >>");
  EXPECT_EQ(cut.streamKeyword, 26u);
}

TEST(ValueMending, EditsApplyToTheOutermostDictionaryOfAValueWrittenAnew) {
  const std::vector<EntryEdit> edits = {{"Parent", "7 0 R"}, {"Length", "12"}, {"Filter", {}}};
  // The lost Parent is rewritten anyway, so it alone is no damage.
  EXPECT_EQ(Mend("<< /Parent 60 0 R /Filter /A >>", true, edits).verdict, Verdict::kWhole);
  const MendedValue mended =
      Mend("<< /Parent 60 0 R /Filter /A /X << /Length 1 >> /Y 61 0 R >>", true, edits);
  EXPECT_EQ(mended.verdict, Verdict::kMended);
  EXPECT_EQ(mended.text, "<< /Length 12 /Parent 7 0 R  /X << /Length 1 >>  >>");
}

TEST(ValueMending, AValueBeginsWithAnyTokenThatCanStartOne) {
  auto starts = [](const std::string& text, bool whole) {
    return ValueStarts(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                       whole);
  };
  for (const char* text : {" << /A 1", "\n[", " (x", "12 0 R", "-1", "/Name", "true", "null "}) {
    EXPECT_TRUE(starts(text, true)) << text;
  }
  for (const char* text : {") x", "\n  ", "endstream", "trueish", "}"}) {
    EXPECT_FALSE(starts(text, true)) << text;
  }
  EXPECT_TRUE(starts("  ", false));  // the value may follow beyond the bytes looked at
}

}  // namespace
}  // namespace tarnwick

// The bounds the engine keeps to hostile input (engine_limits.h), each tried at its value and
// one past it: at the bound the input is taken; one past, it is refused, or handled some other
// way that gives the same answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "engine_limits.h"
#include "packed_objects.h"
#include "pdf_builder.h"
#include "pdf_syntax.h"
#include "repair_harness.h"
#include "stream_decode.h"
#include "string_ends.h"

namespace tarnwick::test {
namespace {

struct Bytes {
  explicit Bytes(std::string given)
      : text(std::move(given)),
        reader(std::span(reinterpret_cast<const std::uint8_t*>(this->text.data()),
                         this->text.size())) {}
  std::string text;
  SourceReader reader;
};

bool NameRead(std::int64_t length) {
  std::string name(static_cast<std::size_t>(length) + 2, 'a');
  name.front() = '/';
  name.back() = ' ';
  Bytes bytes(std::move(name));
  std::int64_t at = 0;
  return PdfSyntax(bytes.reader, bytes.reader.Length()).ReadValue(at).has_value();
}

bool ArrayKept(std::int64_t items) {
  std::string text = "[";
  for (std::int64_t i = 0; i < items; ++i) text += "0 ";
  Bytes bytes(text + "]");
  const auto array = PdfSyntax(bytes.reader, bytes.reader.Length()).ReadArray(0);
  return array && static_cast<std::int64_t>(array->size()) == items;
}

bool PredictorTaken(const PredictorParameters& parameters) {
  DecodedStream stream{{0, 1, 2, 3}, true};
  return UndoPredictor(stream, parameters);
}

bool ColumnsTaken(std::int64_t columns) { return PredictorTaken({12, 1, 8, columns}); }
bool ColorsTaken(std::int64_t colors) { return PredictorTaken({12, colors, 8, 1}); }

// A string of `count` nested parentheses: its end is found whether or not the pass that tracks
// them gives up.
bool NestedStringEndFound(std::int64_t count) {
  const auto n = static_cast<std::size_t>(count);
  Bytes bytes(std::string(n, '(') + std::string(n, ')') + " ");
  StringEnds ends(bytes.reader);
  return ends.AfterLiteralString(0) == 2 * count;
}

// An object stream holding one string object whose last byte is byte `end` - 1 of the decoded
// data: unpacked while the stream decodes that far.
bool PackedObjectEndingAtUnpacked(std::int64_t end) {
  // The stream's data: "1 0 " (the header), the object, and a line end.
  std::string object(static_cast<std::size_t>(end) - 4, 'x');
  object.front() = '(';
  object.back() = ')';
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(7, ObjectStreamBody({{1, object}}));
  const RepairRun run = RepairBytes(pdf.Bytes());
  return std::any_of(run.results.objects.begin(), run.results.objects.end(),
                     [](const ObjectRecord& r) {
                       return r.number == 1 && r.origin == RecordOrigin::kUnpacked;
                     });
}

// A file without trailer whose security dictionary object (from its header's first digit to
// the "e" of its "endobj") is `size` bytes long: named in the copy's trailer while it is looked
// for.
bool SecurityDictionaryOfSizeTaken(std::int64_t size) {
  const std::string entries = "<< /Filter /Standard /V 2 /R 3 /Length 128 /P -4 /O <" +
                              std::string(64, 'a') + "> /U <" + std::string(64, 'b') + ">";
  const std::string header = "9 0 obj\n";
  const auto padding = static_cast<std::size_t>(size) - header.size() - entries.size() - 3;
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>");
  pdf.Object(9, entries + std::string(padding, ' ') + ">>");
  const RepairRun run = RepairBytes(pdf.Bytes(), Mending::kOn);
  return run.output.find("/Encrypt 9 0 R") != std::string::npos;
}

struct BoundCase {
  const char* name;
  std::int64_t bound;
  bool (*taken)(std::int64_t value);
  bool takenOnePast = false;  // true where past the bound the same answer comes another way
};

void PrintTo(const BoundCase& bound, std::ostream* out) { *out << bound.name; }

class EngineBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(EngineBound, TakenAtTheBoundAndNotOnePast) {
  const BoundCase& bound = GetParam();
  EXPECT_TRUE(bound.taken(bound.bound));
  EXPECT_EQ(bound.taken(bound.bound + 1), bound.takenOnePast);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, EngineBound,
    ::testing::Values(
        BoundCase{"NameLength", static_cast<std::int64_t>(limits::kMaxNameLength), NameRead},
        BoundCase{"KeptItems", static_cast<std::int64_t>(limits::kMaxKeptItems), ArrayKept},
        BoundCase{"PredictorColumns", limits::kMaxColumns, ColumnsTaken},
        BoundCase{"PredictorColors", limits::kMaxColors, ColorsTaken},
        BoundCase{"TrackedParentheses", static_cast<std::int64_t>(limits::kMaxTrackedParentheses),
                  NestedStringEndFound, true},
        BoundCase{"DecodedStreamBytes", static_cast<std::int64_t>(limits::kMaxDecodedStreamBytes),
                  PackedObjectEndingAtUnpacked},
        BoundCase{"SecurityDictionaryBytes",
                  static_cast<std::int64_t>(limits::kMaxSecurityDictionaryBytes),
                  SecurityDictionaryOfSizeTaken}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarnwick::test

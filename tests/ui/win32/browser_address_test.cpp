#include "browser_address.h"

#include <gtest/gtest.h>

namespace tarnwick::win32::browser {
namespace {

struct AddressCase {
  const char* name;
  std::string address;
  std::string controlAddress;
  std::string shownFile;
};

// CTest lists each row by its name rather than by its bytes.
void PrintTo(const AddressCase& row, std::ostream* out) { *out << row.name; }

class BrowserAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(BrowserAddressTest, GivesTheControlAUrlAndTheFallbackAPath) {
  const AddressCase& row = GetParam();
  EXPECT_EQ(ControlAddress(row.address), row.controlAddress);
  EXPECT_EQ(ShownFile(row.address), row.shownFile);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, BrowserAddressTest,
    ::testing::Values(
        AddressCase{"BlankPage", "about:blank", "about:blank", ""},
        AddressCase{"CopyWithoutToolbar", "C:\\Temp\\Tarnwick\\copy.pdf#toolbar=0",
                    "file:///C:/Temp/Tarnwick/copy.pdf#toolbar=0", "C:\\Temp\\Tarnwick\\copy.pdf"},
        AddressCase{"ForwardSlashes", "C:/Temp/copy.pdf#toolbar=0",
                    "file:///C:/Temp/copy.pdf#toolbar=0", "C:\\Temp\\copy.pdf"},
        AddressCase{"NoFragment", "D:\\copy.pdf", "file:///D:/copy.pdf", "D:\\copy.pdf"},
        AddressCase{"SpacesAndPercent", "C:\\My Files\\100% done.pdf#toolbar=0",
                    "file:///C:/My%20Files/100%25%20done.pdf#toolbar=0",
                    "C:\\My Files\\100% done.pdf"},
        AddressCase{"HashInTheName", "C:\\Work\\#2\\copy #2.pdf#toolbar=0",
                    "file:///C:/Work/%232/copy%20%232.pdf#toolbar=0", "C:\\Work\\#2\\copy #2.pdf"},
        AddressCase{"BeyondAsciiKeptAsIs", "C:\\Temp\\Größe 東京.pdf#toolbar=0",
                    "file:///C:/Temp/Größe%20東京.pdf#toolbar=0", "C:\\Temp\\Größe 東京.pdf"},
        AddressCase{"NetworkShare", "\\\\server\\share\\copy.pdf#toolbar=0",
                    "file://server/share/copy.pdf#toolbar=0", "\\\\server\\share\\copy.pdf"},
        AddressCase{"FileUrlPassesUnchanged", "file:///C:/copy.pdf#toolbar=0",
                    "file:///C:/copy.pdf#toolbar=0", ""}),
    [](const ::testing::TestParamInfo<AddressCase>& testCase) { return testCase.param.name; });

}  // namespace
}  // namespace tarnwick::win32::browser

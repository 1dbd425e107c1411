// Quoted arguments split back into the same arguments by the system's own parser.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "command_line_quoting.h"

namespace tarnwick {
namespace {

std::vector<std::wstring> SplitBySystem(const std::wstring& tail) {
  // The program name is parsed by other rules; a plain one keeps it out of the way.
  const std::wstring line = L"program.exe " + tail;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> arguments;
  if (words == nullptr) return arguments;
  for (int index = 1; index < count; ++index) arguments.emplace_back(words[index]);
  LocalFree(words);
  return arguments;
}

class QuotingRoundTrip : public ::testing::TestWithParam<std::vector<std::wstring>> {};

TEST_P(QuotingRoundTrip, TheSystemSplitsTheLineIntoTheSameArguments) {
  const std::vector<std::wstring>& arguments = GetParam();
  EXPECT_EQ(SplitBySystem(QuoteArguments(arguments)), arguments) << QuoteArguments(arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, QuotingRoundTrip,
    ::testing::Values(std::vector<std::wstring>{L"plain"},
                      std::vector<std::wstring>{L"C:\\My Files\\a file.pdf"},
                      std::vector<std::wstring>{L"", L"after empty", L""},
                      std::vector<std::wstring>{L"say \"hi\"", L"\""},
                      std::vector<std::wstring>{L"C:\\folder\\", L"C:\\with space\\"},
                      std::vector<std::wstring>{L"a\\\"b", L"a\\\\\"b c", L"\\\\server\\share"},
                      std::vector<std::wstring>{L"tab\there", L"two  spaces ", L"-x"},
                      std::vector<std::wstring>{L"unquoted\\\\", L"x\\\"y"},
                      std::vector<std::wstring>{L"T\u00e4rnwick \u20ac", L"\u65e5\u672c"}));

TEST(QuotingTest, NoArgumentsGiveAnEmptyTail) { EXPECT_EQ(QuoteArguments({}), L""); }

}  // namespace
}  // namespace tarnwick

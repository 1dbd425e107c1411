// The file-open dialog's answer with multiple selection: one whole path, or a folder and names.
#include "open_file_names.h"

#include <gtest/gtest.h>

using tarnwick::win32::SplitOpenFileNames;

namespace {

struct OpenFileNamesCase {
  const char* name;
  std::wstring buffer;  // as the dialog leaves it, nulls included
  std::vector<std::wstring> paths;
};

class OpenFileNamesTest : public testing::TestWithParam<OpenFileNamesCase> {};

TEST_P(OpenFileNamesTest, GivesWholePathsInTheDialogsOrder) {
  const OpenFileNamesCase& given = GetParam();
  EXPECT_EQ(SplitOpenFileNames(given.buffer.data(), given.buffer.size()), given.paths);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Buffers, OpenFileNamesTest,
    testing::Values(
        OpenFileNamesCase{"OneFile", L"C:\\docs\\a.pdf\0\0"s, {L"C:\\docs\\a.pdf"}},
        OpenFileNamesCase{"FilesInAFolder",
                          L"C:\\docs\0b.pdf\0a.pdf\0\0"s,
                          {L"C:\\docs\\b.pdf", L"C:\\docs\\a.pdf"}},
        OpenFileNamesCase{"FilesAtADrivesRoot",
                          L"C:\\\0a.pdf\0b.PDF\0\0"s,
                          {L"C:\\a.pdf", L"C:\\b.PDF"}},
        OpenFileNamesCase{"NameCutByTheBuffersEnd",
                          L"C:\\docs\0a.pdf\0b.p"s,
                          {L"C:\\docs\\a.pdf"}},
        OpenFileNamesCase{"Nothing", L"\0\0"s, {}}),
    [](const testing::TestParamInfo<OpenFileNamesCase>& row) { return row.param.name; });

}  // namespace

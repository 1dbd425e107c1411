#include <gtest/gtest.h>
#include <windows.h>

#include "browser_pane.h"

namespace tarnwick::win32 {
namespace {

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
constexpr wchar_t kThisTestProgram[] = L"win32_browser_test.exe";

TEST(BrowserEmulationTest, NamesThisProgramWithTheCurrentEngineMode) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kEmulationKey, kThisTestProgram);

  SetBrowserEmulationForThisProgram();

  DWORD mode = 0;
  DWORD size = sizeof(mode);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, kThisTestProgram, RRF_RT_REG_DWORD,
                         nullptr, &mode, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(mode, 11001u);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kEmulationKey, kThisTestProgram);
}

}  // namespace
}  // namespace tarnwick::win32

// The registry settings on keys of the test's own under HKEY_CURRENT_USER, standing for the
// machine's classes and the user's classes, and once through the real HKEY_CLASSES_ROOT.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "utf16_text.h"
#include "win32_settings_store.h"

namespace tarnwick {
namespace {

const std::wstring kTestBase = L"Software\\Tarnwick-test-" + std::to_wstring(GetCurrentProcessId());

HKEY CreateKey(HKEY root, const std::wstring& path, REGSAM access) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  return key;
}

void SetRawValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                 const std::vector<BYTE>& data) {
  ASSERT_EQ(RegSetKeyValueW(root, key.c_str(), name.c_str(), type, data.data(),
                            static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
}

std::vector<BYTE> WideBytes(const std::wstring& text, bool terminated = true) {
  const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
  return {first, first + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)};
}

// The value's type and text as stored, or REG_NONE when there is no such value.
std::pair<DWORD, std::wstring> RawValue(HKEY root, const std::wstring& key,
                                        const std::wstring& name) {
  DWORD type = REG_NONE;
  std::wstring text(4096, L'\0');
  DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, text.data(),
                   &bytes) != ERROR_SUCCESS) {
    return {REG_NONE, L""};
  }
  text.resize(bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return {type, text};
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  ~SettingsStoreTest() override {
    RegCloseKey(machine_);
    RegCloseKey(user_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestBase.c_str());
  }

  HKEY machine_ = CreateKey(HKEY_CURRENT_USER, kTestBase + L"\\machine", KEY_ALL_ACCESS);
  HKEY user_ = CreateKey(HKEY_CURRENT_USER, kTestBase + L"\\user", KEY_ALL_ACCESS);
  Win32SettingsStore store_{{machine_, L""}, {machine_, L""}, {user_, L""}};
};

struct StoredValue {
  const char* label;
  DWORD type;
  std::vector<BYTE> data;
  std::string expected;
};

class SettingsReadTest : public SettingsStoreTest,
                         public ::testing::WithParamInterface<StoredValue> {};

TEST_P(SettingsReadTest, ReadsStringsAndNothingElse) {
  SetEnvironmentVariableW(L"TARNWICK_TEST_FOLDER", L"C:\\expanded");
  SetRawValue(machine_, L"TWPDF", L"Value", GetParam().type, GetParam().data);
  EXPECT_EQ(store_.Read("TWPDF", "Value"), GetParam().expected);
  EXPECT_EQ(store_.Read("twpdf", "VALUE"), GetParam().expected) << "registry names ignore case";
}

INSTANTIATE_TEST_SUITE_P(
    Types, SettingsReadTest,
    ::testing::Values(
        StoredValue{"Plain", REG_SZ, WideBytes(L"C:\\Program Files\\Tarnwick"),
                    "C:\\Program Files\\Tarnwick"},
        StoredValue{"Spaces", REG_SZ, WideBytes(L"  D:\\my logs\\  "), "  D:\\my logs\\  "},
        StoredValue{"BeyondAscii", REG_SZ, WideBytes(L"C:\\T\u00e4rnwick \u20ac"),
                    "C:\\T\xC3\xA4rnwick \xE2\x82\xAC"},
        StoredValue{"Unterminated", REG_SZ, WideBytes(L"C:\\no end", false), "C:\\no end"},
        StoredValue{"Long", REG_SZ, WideBytes(std::wstring(3000, L'x')), std::string(3000, 'x')},
        StoredValue{"Empty", REG_SZ, WideBytes(L""), ""},
        StoredValue{"Expandable", REG_EXPAND_SZ, WideBytes(L"%TARNWICK_TEST_FOLDER%\\logs"),
                    "C:\\expanded\\logs"},
        StoredValue{"Number", REG_DWORD, {1, 0, 0, 0}, ""},
        StoredValue{"Binary", REG_BINARY, {'a', 0, 'b', 0, 0, 0}, ""},
        StoredValue{"MultiString", REG_MULTI_SZ, WideBytes(std::wstring(L"a\0b\0", 4)), ""}),
    [](const auto& row) { return std::string(row.param.label); });

TEST_F(SettingsStoreTest, MissingKeysAndValuesReadEmpty) {
  SetRawValue(machine_, L"TWPDF", L"FilePath", REG_SZ, WideBytes(L"C:\\Tarnwick"));
  EXPECT_EQ(store_.Read("TWPDF", "LogPath"), "");
  EXPECT_EQ(store_.Read("Missing", "FilePath"), "");
  EXPECT_EQ(store_.Read("TWPDF\\Missing", "FilePath"), "");
  EXPECT_EQ(store_.Read("TWPDF", ""), "") << "the key has no default value";
  // Only the place for reading is read.
  SetRawValue(user_, L"TWPDF", L"LogPath", REG_SZ, WideBytes(L"C:\\user"));
  EXPECT_EQ(store_.Read("TWPDF", "LogPath"), "");
}

TEST_F(SettingsStoreTest, WriteMakesNestedKeysAndReplacesValuesWithStrings) {
  ASSERT_TRUE(store_.Write("CLSID\\{0123}", "ProgID", "Program.Application"));
  ASSERT_TRUE(store_.Write("CLSID\\{0123}", "", "default value"));
  ASSERT_TRUE(store_.Write("TWPDF", "FilePath", "C:\\T\xC3\xA4rnwick"));
  SetRawValue(machine_, L"TWPDF", L"LogPath", REG_DWORD, {7, 0, 0, 0});
  ASSERT_TRUE(store_.Write("TWPDF", "LogPath", "D:\\logs"));
  EXPECT_EQ(RawValue(machine_, L"CLSID\\{0123}", L"ProgID"),
            std::make_pair(DWORD{REG_SZ}, std::wstring(L"Program.Application")));
  EXPECT_EQ(RawValue(machine_, L"CLSID\\{0123}", L""),
            std::make_pair(DWORD{REG_SZ}, std::wstring(L"default value")));
  EXPECT_EQ(RawValue(machine_, L"TWPDF", L"FilePath"),
            std::make_pair(DWORD{REG_SZ}, std::wstring(L"C:\\T\u00e4rnwick")));
  EXPECT_EQ(store_.Read("TWPDF", "LogPath"), "D:\\logs");
  EXPECT_FALSE(KeyExists(user_, L"TWPDF")) << "nothing goes to the fallback when not needed";
}

TEST_F(SettingsStoreTest, RemoveKeyRemovesTheTreeFromBothPlacesAndLeavesItsSiblings) {
  for (HKEY place : {machine_, user_}) {
    SetRawValue(place, L"CLSID\\{0123}", L"ProgID", REG_SZ, WideBytes(L"x"));
    SetRawValue(place, L"CLSID\\{0123}\\InprocServer32", L"", REG_SZ, WideBytes(L"y"));
    SetRawValue(place, L"CLSID\\{4567}", L"ProgID", REG_SZ, WideBytes(L"other"));
  }
  ASSERT_TRUE(store_.RemoveKey("CLSID\\{0123}"));
  for (HKEY place : {machine_, user_}) {
    EXPECT_FALSE(KeyExists(place, L"CLSID\\{0123}"));
    EXPECT_TRUE(KeyExists(place, L"CLSID\\{4567}"));
  }
  EXPECT_TRUE(store_.RemoveKey("CLSID\\{0123}")) << "nothing left to remove is success";
  EXPECT_TRUE(store_.RemoveKey("Never\\There"));
}

// A user without administrator rights may read the machine's classes but not change them.
class SettingsFallbackTest : public SettingsStoreTest {
 protected:
  SettingsFallbackTest() {
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kTestBase + L"\\machine").c_str(), 0, KEY_READ,
                            &readOnlyMachine_),
              ERROR_SUCCESS);
  }
  ~SettingsFallbackTest() override { RegCloseKey(readOnlyMachine_); }

  HKEY readOnlyMachine_ = nullptr;
};

TEST_F(SettingsFallbackTest, WritesGoToTheUsersPlaceWhenTheMachineRefuses) {
  Win32SettingsStore store({readOnlyMachine_, L""}, {readOnlyMachine_, L""}, {user_, L""});
  ASSERT_TRUE(store.Write("ZazoTest.Application", "CLSID", "{0123}"));
  EXPECT_FALSE(KeyExists(machine_, L"ZazoTest.Application"));
  EXPECT_EQ(RawValue(user_, L"ZazoTest.Application", L"CLSID"),
            std::make_pair(DWORD{REG_SZ}, std::wstring(L"{0123}")));
  ASSERT_TRUE(store.RemoveKey("ZazoTest.Application"));
  EXPECT_FALSE(KeyExists(user_, L"ZazoTest.Application"));
}

TEST_F(SettingsFallbackTest, RemovingAKeyTheMachineKeepsFailsButClearsTheUsersCopy) {
  SetRawValue(machine_, L"TWPDF\\Sub", L"FilePath", REG_SZ, WideBytes(L"machine"));
  SetRawValue(user_, L"TWPDF\\Sub", L"FilePath", REG_SZ, WideBytes(L"user"));
  Win32SettingsStore store({readOnlyMachine_, L""}, {readOnlyMachine_, L""}, {user_, L""});
  EXPECT_FALSE(store.RemoveKey("TWPDF"));
  EXPECT_FALSE(KeyExists(user_, L"TWPDF"));
  EXPECT_EQ(store.Read("TWPDF\\Sub", "FilePath"), "machine");
}

TEST(SettingsClassesRootTest, TheDefaultStoreWritesReadsAndRemovesUnderTheClassesRoot) {
  const std::string key = "Tarnwick-test-" + std::to_string(GetCurrentProcessId());
  Win32SettingsStore store;
  ASSERT_TRUE(store.Write(key, "FilePath", "C:\\Program Files\\Tarnwick"));
  EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, ToUtf16(key), L"FilePath").second,
            L"C:\\Program Files\\Tarnwick");
  EXPECT_EQ(store.Read(key, "FilePath"), "C:\\Program Files\\Tarnwick");
  ASSERT_TRUE(store.RemoveKey(key));
  EXPECT_EQ(store.Read(key, "FilePath"), "");
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ToUtf16(key)));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\" + ToUtf16(key)));
}

}  // namespace
}  // namespace tarnwick

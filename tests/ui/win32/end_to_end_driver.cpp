// Plays the user of the real tarnwick.exe: starts it on the settings and folders of a test, picks
// two damaged PDFs through the file-open dialog, repairs them, looks at both previews (the pane's
// fallback, as the browser control is turned off), saves all through the folder browser and
// confirms the completion dialog. It finds the windows by their control ids, presses buttons as
// their clicks do, and prints what it saw, one line per step, with the test folder written as
// "<test>"; the test's script checks the lines and what the program left on disk.
//
//   end_to_end_driver.exe <tarnwick.exe> <program folder> <test folder>
#include <windows.h>
// The system headers below build on the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "control_ids.h"
#include "damaged_pdf.h"
#include "win32_text.h"

using namespace tarnwick;

namespace {

constexpr auto kPatience = std::chrono::seconds(90);
constexpr auto kPoll = std::chrono::milliseconds(50);
// The file-open dialog's name field: a combo box in the Explorer-style dialog, an edit otherwise.
constexpr int kOpenDialogNameCombo = 0x47C;
constexpr int kOpenDialogNameEdit = 0x480;

std::wstring testFolder;
PROCESS_INFORMATION program{};

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// The test folder's own path stands as "<test>", so that the lines read the same on every run.
std::string Shown(std::wstring text) {
  for (std::size_t at; (at = text.find(testFolder)) != std::wstring::npos;) {
    text.replace(at, testFolder.size(), L"<test>");
  }
  return Utf8(text);
}

[[noreturn]] void GiveUp(const std::string& why) {
  Say("gave up: " + why);
  TerminateProcess(program.hProcess, 3);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TWPDF");
  std::exit(1);
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

std::vector<HWND> ProgramWindows() {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{program.dwProcessId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == wanted.process && IsWindowVisible(window)) wanted.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Has(HWND dialog, int id) { return GetDlgItem(dialog, id) != nullptr; }

// The program's visible window that `is` picks, once it is there.
HWND WaitFor(const std::string& what, const std::function<bool(HWND)>& is) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    for (HWND window : ProgramWindows()) {
      if (is(window)) return window;
    }
    if (WaitForSingleObject(program.hProcess, 0) == WAIT_OBJECT_0) GiveUp("the program ended before " + what);
    std::this_thread::sleep_for(kPoll);
  }
  GiveUp("no " + what);
}

void WaitUntil(const std::string& what, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) GiveUp(what);
    std::this_thread::sleep_for(kPoll);
  }
}

// As a click on the button tells its dialog; posted, because the answer may be a modal loop.
void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring DialogText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

// A list view's cell, read through a buffer in the program's own memory: the list view takes
// the pointers it is given as its own.
std::wstring CellText(HWND table, int row, int column) {
  struct Shared {
    LVITEMW item;
    wchar_t text[1024];
  };
  auto* remote = static_cast<Shared*>(
      VirtualAllocEx(program.hProcess, nullptr, sizeof(Shared), MEM_COMMIT, PAGE_READWRITE));
  if (remote == nullptr) GiveUp("no memory in the program for a cell's text");
  Shared local{};
  local.item.iSubItem = column;
  local.item.pszText = remote->text;
  local.item.cchTextMax = static_cast<int>(std::size(local.text));
  WriteProcessMemory(program.hProcess, remote, &local, sizeof(local), nullptr);
  SendMessageW(table, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&remote->item));
  ReadProcessMemory(program.hProcess, remote, &local, sizeof(local), nullptr);
  VirtualFreeEx(program.hProcess, remote, 0, MEM_RELEASE);
  local.text[std::size(local.text) - 1] = L'\0';
  return local.text;
}

HWND OpenDialogNameField(HWND dialog) {
  for (int id : {kOpenDialogNameCombo, kOpenDialogNameEdit}) {
    if (HWND field = GetDlgItem(dialog, id); field && IsWindowVisible(field)) return field;
  }
  GiveUp("the file-open dialog has no name field");
}

// Types into the dialog's name field and presses its OK, as a user does.
void Answer(HWND dialog, const std::wstring& text) {
  SendMessageW(OpenDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// The text the preview's fallback pane shows, where one is visible.
std::wstring FallbackPaneText(HWND preview) {
  for (HWND child : Descendants(preview)) {
    if (ClassOf(child) != L"TarnwickPreviewFallbackPane" || !IsWindowVisible(child)) continue;
    if (HWND text = FindWindowExW(child, nullptr, L"STATIC", nullptr)) return TextOf(text);
  }
  return L"";
}

bool HasTextAmongChildren(HWND window, const std::wstring& text) {
  for (HWND child : Descendants(window)) {
    if (TextOf(child) == text) return true;
  }
  return false;
}

void WritePdf(const std::wstring& path, const std::string& label, int pages) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary);
  file << test::DamagedPdf(label, pages);
  if (!file.flush()) GiveUp("cannot write " + Utf8(path));
}

void SetSetting(HKEY key, const wchar_t* name, const std::wstring& value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void StartProgram(const std::wstring& exe, const std::wstring& programFolder) {
  HKEY settings = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L"TWPDF", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &settings, nullptr) != ERROR_SUCCESS) {
    GiveUp("cannot write the program's settings");
  }
  SetSetting(settings, L"FilePath", programFolder);
  SetSetting(settings, L"LogPath", testFolder + L"\\log");
  RegCloseKey(settings);
  // The work copies go into the test's folder, where the script sees whether any is left.
  SetEnvironmentVariableW(L"TEMP", (testFolder + L"\\tmp").c_str());
  SetEnvironmentVariableW(L"TMP", (testFolder + L"\\tmp").c_str());
  SetEnvironmentVariableW(L"TARNWICK_NO_BROWSER_CONTROL", L"1");
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  // Started in the folder the copies go to, which the folder browser opens on.
  const std::wstring saved = testFolder + L"\\saved";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      saved.c_str(), &startup, &program)) {
    GiveUp("cannot start " + Utf8(exe) + ": " + LastSystemErrorText());
  }
}

void PreviewLine(HWND preview) {
  Say("preview: " + Shown(DialogText(preview, ids::kFileNumber)) + " of " +
      Shown(DialogText(preview, ids::kFileCount)) + ", " +
      Shown(DialogText(preview, ids::kSourcePath)) + ", pane: " +
      Shown(FallbackPaneText(preview)));
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 4) {
    Say("usage: end_to_end_driver.exe <tarnwick.exe> <program folder> <test folder>");
    return 2;
  }
  testFolder = arguments[3];
  WritePdf(testFolder + L"\\sources\\first.pdf", "First", 2);
  WritePdf(testFolder + L"\\sources\\second.pdf", "Second", 3);
  StartProgram(arguments[1], arguments[2]);

  const auto isMain = [](HWND w) { return Has(w, ids::kFileTable) && Has(w, ids::kRepair); };
  HWND main = WaitFor("main window", isMain);
  Say("main window: " + Shown(TextOf(main)));

  Press(main, ids::kBrowse);
  HWND open = WaitFor("file-open dialog", [](HWND w) { return TextOf(w) == L" Open Pdf files"; });
  Say("open dialog: " + Shown(TextOf(open)));
  // Into the sources' folder first, then both names at once.
  Answer(open, testFolder + L"\\sources");
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Answer(open, L"\"first.pdf\" \"second.pdf\"");
  HWND table = GetDlgItem(main, ids::kFileTable);
  WaitUntil("two rows in the file table", [&] {
    return SendMessageW(table, LVM_GETITEMCOUNT, 0, 0) == 2 && !IsWindowVisible(open);
  });
  Say("rows: " + Shown(CellText(table, 0, 1)) + " | " + Shown(CellText(table, 1, 1)));

  Press(main, ids::kRepair);
  const auto isPreview = [](HWND w) { return Has(w, ids::kSourcePath); };
  HWND preview = WaitFor("preview", isPreview);
  WaitUntil("the first copy in the pane", [&] { return !FallbackPaneText(preview).empty(); });
  Say(std::string("main window ") + (IsWindowVisible(main) ? "shown" : "hidden"));
  PreviewLine(preview);

  const std::wstring firstPane = FallbackPaneText(preview);
  Press(preview, ids::kNextFile);
  WaitUntil("the second copy in the pane", [&] {
    const std::wstring text = FallbackPaneText(preview);
    return !text.empty() && text != firstPane && DialogText(preview, ids::kFileNumber) == L"2";
  });
  PreviewLine(preview);

  Press(preview, ids::kToolbarSaveAll);
  HWND browser = WaitFor("folder browser", [](HWND w) {
    return FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr) != nullptr ||
           HasTextAmongChildren(w, L"Select the Destination Path");
  });
  Say(std::string("folder browser: ") +
      (HasTextAmongChildren(browser, L"Select the Destination Path") ? "Select the Destination Path"
                                                                     : "without its title"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

  HWND saving = WaitFor("saving dialog", [](HWND w) { return Has(w, ids::kSavingFolder); });
  Say("saving into: " + Shown(DialogText(saving, ids::kSavingFolder)));

  HWND completion = WaitFor("completion dialog", [](HWND w) {
    return Has(w, ids::kCompletionOk) && !Has(w, ids::kAnalysisPause) && !Has(w, ids::kFileTable);
  });
  Say("completion: " + Shown(TextOf(completion)) + ", preview " +
      (IsWindowVisible(preview) ? "shown" : "hidden"));
  Press(completion, ids::kCompletionOk);

  if (WaitForSingleObject(program.hProcess, 60'000) != WAIT_OBJECT_0) GiveUp("the program went on");
  DWORD exitCode = 0;
  GetExitCodeProcess(program.hProcess, &exitCode);
  Say("program ended: " + std::to_string(exitCode));
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TWPDF");
  LocalFree(arguments);
  return 0;
}

#include "driven_program.h"

// The system headers below build on the types of windows.h.
#include <commctrl.h>
#include <commdlg.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "app_texts.h"
#include "control_ids.h"
#include "win32_text.h"

namespace tarnwick::win32::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(90);
constexpr auto kPoll = std::chrono::milliseconds(50);
constexpr wchar_t kSettingsKey[] = L"TWPDF";
// The file-open dialog's name field: a combo box in the Explorer-style dialog, an edit otherwise.
constexpr int kOpenDialogNameCombo = 0x47C;
constexpr int kOpenDialogNameEdit = 0x480;

// A block of the program's memory, for the messages whose pointers a control of the program
// takes for its own.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
    if (address_ == nullptr) throw std::runtime_error("no memory in the program for a text");
  }
  ~RemoteBlock() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  void* Address() const { return address_; }
  void Write(const void* bytes, std::size_t size) const {
    WriteProcessMemory(process_, address_, bytes, size, nullptr);
  }
  void Read(void* bytes, std::size_t size) const {
    ReadProcessMemory(process_, address_, bytes, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

void SetSetting(HKEY key, const wchar_t* name, const std::wstring& value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

DrivenProgram::DrivenProgram(const std::wstring& exe, const Folders& folders) {
  HKEY settings = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &settings, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot write the program's settings");
  }
  SetSetting(settings, L"FilePath", folders.program);
  SetSetting(settings, L"LogPath", folders.log);
  RegCloseKey(settings);
  SetEnvironmentVariableW(L"TEMP", folders.work.c_str());
  SetEnvironmentVariableW(L"TMP", folders.work.c_str());
  SetEnvironmentVariableW(L"TARNWICK_NO_BROWSER_CONTROL", L"1");
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folders.start.c_str(), &startup, &process_)) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kSettingsKey);
    throw std::runtime_error("cannot start " + Utf8(exe) + ": " + LastSystemErrorText());
  }
}

DrivenProgram::~DrivenProgram() {
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 3);
    WaitForSingleObject(process_.hProcess, 10'000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kSettingsKey);
}

std::vector<HWND> DrivenProgram::VisibleWindows() const {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process_.dwProcessId, {}};
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

HWND DrivenProgram::WaitFor(const std::string& what, const std::function<bool(HWND)>& is) const {
  HWND found = nullptr;
  WaitUntil(what, [&] {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
      throw std::runtime_error("the program ended before the " + what);
    }
    for (HWND window : VisibleWindows()) {
      if (is(window)) found = window;
    }
    return found != nullptr;
  });
  return found;
}

void DrivenProgram::WaitUntil(const std::string& what, const std::function<bool()>& done) const {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("no " + what);
    std::this_thread::sleep_for(kPoll);
  }
}

DWORD DrivenProgram::WaitForEnd() const {
  if (WaitForSingleObject(process_.hProcess, 60'000) != WAIT_OBJECT_0) {
    throw std::runtime_error("the program went on");
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  return exitCode;
}

template <typename Item>
std::wstring DrivenProgram::AskForText(HWND control, UINT message, WPARAM wParam, Item item) const {
  struct Shared {
    Item item;
    wchar_t text[1024];
  };
  const RemoteBlock block(process_.hProcess, sizeof(Shared));
  auto* remote = static_cast<Shared*>(block.Address());
  Shared local{};
  local.item = item;
  local.item.pszText = remote->text;
  local.item.cchTextMax = static_cast<int>(std::size(local.text));
  block.Write(&local, sizeof(local));
  SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(&remote->item));
  block.Read(&local, sizeof(local));
  local.text[std::size(local.text) - 1] = L'\0';
  return local.text;
}

std::wstring DrivenProgram::AskForText(HWND control, UINT message) const {
  wchar_t text[1024] = {};
  const RemoteBlock block(process_.hProcess, sizeof(text));
  block.Write(text, sizeof(text));
  SendMessageW(control, message, std::size(text), reinterpret_cast<LPARAM>(block.Address()));
  block.Read(text, sizeof(text));
  text[std::size(text) - 1] = L'\0';
  return text;
}

std::wstring DrivenProgram::CellText(HWND table, int row, int column) const {
  LVITEMW item{};
  item.iSubItem = column;
  return AskForText(table, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), item);
}

std::wstring DrivenProgram::OpenDialogFolder(HWND dialog) const {
  return AskForText(dialog, CDM_GETFOLDERPATH);
}

std::wstring DrivenProgram::SelectedItemText(HWND tree) const {
  const auto selected =
      reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (selected == nullptr) return L"";
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = selected;
  return AskForText(tree, TVM_GETITEMW, 0, item);
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

std::wstring DialogText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

// Types `text` into the file-open dialog's name field and presses its OK.
void AnswerOpenDialog(HWND dialog, const std::wstring& text) {
  HWND field = nullptr;
  for (int id : {kOpenDialogNameCombo, kOpenDialogNameEdit}) {
    if (HWND candidate = GetDlgItem(dialog, id); candidate && IsWindowVisible(candidate)) {
      field = candidate;
      break;
    }
  }
  if (field == nullptr) throw std::runtime_error("the file-open dialog has no name field");
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace

std::wstring PickFiles(const DrivenProgram& program, HWND mainWindow, const std::wstring& folder,
                       const std::vector<std::wstring>& names) {
  Press(mainWindow, ids::kBrowse);
  HWND dialog = program.WaitFor("file-open dialog",
                                [](HWND window) { return TextOf(window) == Wide(ui::kOpenTitle); });
  const std::wstring title = TextOf(dialog);
  AnswerOpenDialog(dialog, folder);
  program.WaitUntil("the sources' folder in the file-open dialog",
                    [&] { return program.OpenDialogFolder(dialog) == folder; });
  std::wstring quoted;
  for (const std::wstring& name : names) quoted += L"\"" + name + L"\" ";
  AnswerOpenDialog(dialog, quoted);
  program.WaitUntil("the file-open dialog's end", [&] { return !IsWindowVisible(dialog); });
  return title;
}

}  // namespace tarnwick::win32::test

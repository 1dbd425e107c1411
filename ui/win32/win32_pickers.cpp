#include "win32_pickers.h"

#include <windows.h>
// The system headers below build on the types of windows.h.
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "open_file_names.h"
#include "win32_text.h"
#include "win32_window.h"

namespace tarnwick::win32 {
namespace {

// Room for the selected names, as the program has always offered; a selection that does not
// fit is refused by the dialog rather than cut.
constexpr std::size_t kNameBufferLength = 2562;

// "Adobe Pdf Document", null, "*.pdf;*.PDF", null, null: the dialog's filter.
std::wstring FilterOf(const OpenFilesRequest& request) {
  std::wstring patterns;
  for (const std::string& pattern : request.patterns) {
    if (!patterns.empty()) patterns += L';';
    patterns += Wide(pattern);
  }
  std::wstring filter = Wide(request.filterName);
  filter += L'\0';
  filter += patterns;
  filter += L'\0';
  return filter;  // the string's own terminator is the second null
}

// The folder browser opens on the current folder, as the Linux program's does, rather than on the
// desktop: the folder the program was started in is the likeliest destination.
int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM folder) {
  if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, folder);
  return 0;
}

std::wstring CurrentFolder() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

}  // namespace

std::optional<std::vector<std::string>> Win32Pickers::PickFiles(const OpenFilesRequest& request) {
  const std::wstring filter = FilterOf(request);
  const std::wstring title = Wide(request.title);
  std::wstring names(kNameBufferLength, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = HandleOf(request.owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrTitle = title.c_str();
  // The dialog would otherwise make the chosen folder the program's current folder, holding it
  // open so that nobody can remove it while the program runs.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | (request.multipleSelection ? OFN_ALLOWMULTISELECT : 0U);
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  std::vector<std::string> paths;
  for (const std::wstring& path : SplitOpenFileNames(names.data(), names.size())) {
    paths.push_back(Utf8(path));
  }
  return paths;
}

std::optional<std::string> Win32Pickers::PickFolder(WindowHandle* owner, const std::string& title,
                                                    const std::string& start) {
  const std::wstring wideTitle = Wide(title);
  BROWSEINFOW browse{};
  browse.hwndOwner = HandleOf(owner);
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  std::wstring startFolder = start.empty() ? CurrentFolder() : Wide(start);
  std::replace(startFolder.begin(), startFolder.end(), L'/', L'\\');  // the browser's own form
  browse.lpfn = SelectStartFolder;
  browse.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
  if (item == nullptr) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const bool hasPath = SHGetPathFromIDListW(item, path) != FALSE;
  CoTaskMemFree(item);
  return hasPath ? Utf8(path) : std::string();
}

}  // namespace tarnwick::win32

#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tarnwick::win32::test {

// The real tarnwick.exe in a process of its own, and what a user does to its windows: they are
// found by their control ids, and buttons are pressed as their clicks tell their dialogs. Every
// wait gives up after a while by throwing std::runtime_error; the program is ended with it.
class DrivenProgram {
 public:
  struct Folders {
    std::wstring program;  // what the settings name as the program folder: Bmp, help
    std::wstring log;      // where the activity log goes
    std::wstring work;     // the system's temporary folder, under which the work copies go
    std::wstring start;    // the current folder, where the folder browser opens
  };
  // Writes the settings the program reads and starts it, with the browser control turned off.
  DrivenProgram(const std::wstring& exe, const Folders& folders);
  // Ends the program if it still runs, and removes its settings.
  ~DrivenProgram();
  DrivenProgram(const DrivenProgram&) = delete;
  DrivenProgram& operator=(const DrivenProgram&) = delete;

  // The program's visible top-level window that `is` picks, once there is one.
  HWND WaitFor(const std::string& what, const std::function<bool(HWND)>& is) const;
  void WaitUntil(const std::string& what, const std::function<bool()>& done) const;
  // The program's exit code, once it has ended by itself.
  DWORD WaitForEnd() const;
  // A list view's cell.
  std::wstring CellText(HWND table, int row, int column) const;
  // The text of a tree view's selected item; empty when none is selected.
  std::wstring SelectedItemText(HWND tree) const;
  // The folder a file-open dialog shows.
  std::wstring OpenDialogFolder(HWND dialog) const;

 private:
  std::vector<HWND> VisibleWindows() const;
  // Asks a control of the program for a text with `item`, an LVITEMW or a TVITEMW whose text
  // pointer and size this sets: both go into a buffer in the program's memory, as the control
  // takes the pointers it is given for its own.
  template <typename Item>
  std::wstring AskForText(HWND control, UINT message, WPARAM wParam, Item item) const;
  // The same with a bare text buffer, whose size goes as the message's wParam.
  std::wstring AskForText(HWND control, UINT message) const;

  PROCESS_INFORMATION process_{};
};

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
std::vector<HWND> Descendants(HWND parent);
bool Has(HWND dialog, int id);
std::wstring DialogText(HWND dialog, int id);
// Posted, because the answer to a click may be a modal loop.
void Press(HWND dialog, int id);
// Presses Browse in the main window and picks `names` from `folder` in the file-open dialog as
// a user types them: the folder first, then every name at once. Returns the dialog's title.
std::wstring PickFiles(const DrivenProgram& program, HWND mainWindow, const std::wstring& folder,
                       const std::vector<std::wstring>& names);

}  // namespace tarnwick::win32::test

// Plays the user of the real tarnwick.exe: starts it on the settings and folders of a test, picks
// two damaged PDFs through the file-open dialog, repairs them, looks at both previews (the pane's
// fallback, as the browser control is turned off), saves all through the folder browser and
// confirms the completion dialog. It prints what it saw, one line per step, with the test folder
// written as "<test>"; the test's script checks the lines and what the program left on disk.
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
#include <stdexcept>
#include <string>
#include <thread>

#include "control_ids.h"
#include "damaged_pdf.h"
#include "driven_program.h"
#include "win32_text.h"

using namespace tarnwick;
using namespace tarnwick::win32::test;

namespace {

constexpr wchar_t kDestinationTitle[] = L"Select the Destination Path";

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// The test folder's own path stands as "<test>", so that the lines read the same on every run.
std::string Shown(const std::wstring& testFolder, std::wstring text) {
  for (std::size_t at; (at = text.find(testFolder)) != std::wstring::npos;) {
    text.replace(at, testFolder.size(), L"<test>");
  }
  return Utf8(text);
}

void WritePdf(const std::wstring& path, const std::string& label, int pages) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary);
  file << test::DamagedPdf(label, pages);
  if (!file.flush()) throw std::runtime_error("cannot write " + Utf8(path));
}

// The text the preview's fallback pane shows, where one is visible.
std::wstring FallbackPaneText(HWND preview) {
  for (HWND child : Descendants(preview)) {
    if (ClassOf(child) != L"TarnwickPreviewFallbackPane" || !IsWindowVisible(child)) continue;
    if (HWND text = FindWindowExW(child, nullptr, L"STATIC", nullptr)) return TextOf(text);
  }
  return L"";
}

// The folder browser's tree of folders.
HWND FolderTree(HWND window) {
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) == WC_TREEVIEWW) return child;
  }
  return nullptr;
}

bool HasTextAmongChildren(HWND window, const std::wstring& text) {
  for (HWND child : Descendants(window)) {
    if (TextOf(child) == text) return true;
  }
  return false;
}

void Run(const std::wstring& exe, const std::wstring& programFolder, const std::wstring& test) {
  const auto shown = [&](const std::wstring& text) { return Shown(test, text); };
  WritePdf(test + L"\\sources\\first.pdf", "First", 2);
  WritePdf(test + L"\\sources\\second.pdf", "Second", 3);
  // The work copies go into the test's folder, where the script sees whether any is left; the
  // program starts in the folder the copies are saved to.
  const DrivenProgram program(exe, {.program = programFolder,
                                    .log = test + L"\\log",
                                    .work = test + L"\\tmp",
                                    .start = test + L"\\saved"});

  HWND main = program.WaitFor("main window", [](HWND w) { return Has(w, ids::kFileTable); });
  Say("main window: " + shown(TextOf(main)));
  Say("open dialog: " +
      shown(PickFiles(program, main, test + L"\\sources", {L"first.pdf", L"second.pdf"})));
  HWND table = GetDlgItem(main, ids::kFileTable);
  program.WaitUntil("two rows in the file table",
                    [&] { return SendMessageW(table, LVM_GETITEMCOUNT, 0, 0) == 2; });
  Say("rows: " + shown(program.CellText(table, 0, 1)) + " | " +
      shown(program.CellText(table, 1, 1)));

  const auto previewLine = [&](HWND preview) {
    Say("preview: " + shown(DialogText(preview, ids::kFileNumber)) + " of " +
        shown(DialogText(preview, ids::kFileCount)) + ", " +
        shown(DialogText(preview, ids::kSourcePath)) +
        ", pane: " + shown(FallbackPaneText(preview)));
  };
  Press(main, ids::kRepair);
  HWND preview = program.WaitFor("preview", [](HWND w) { return Has(w, ids::kSourcePath); });
  program.WaitUntil("the first copy in the pane",
                    [&] { return !FallbackPaneText(preview).empty(); });
  Say(std::string("main window ") + (IsWindowVisible(main) ? "shown" : "hidden"));
  previewLine(preview);

  const std::wstring firstPane = FallbackPaneText(preview);
  Press(preview, ids::kNextFile);
  program.WaitUntil("the second copy in the pane", [&] {
    const std::wstring text = FallbackPaneText(preview);
    return !text.empty() && text != firstPane && DialogText(preview, ids::kFileNumber) == L"2";
  });
  previewLine(preview);

  Press(preview, ids::kToolbarSaveAll);
  HWND browser = program.WaitFor("folder browser", [](HWND w) { return FolderTree(w) != nullptr; });
  Say("folder browser: " + (HasTextAmongChildren(browser, kDestinationTitle)
                                ? Utf8(kDestinationTitle)
                                : std::string("without its title")));
  // It opens on the current folder, the one the copies go to, once it has unfolded the way
  // there: then OK is all it takes.
  HWND tree = FolderTree(browser);
  std::wstring selected;
  try {
    program.WaitUntil("the copies' folder chosen in the folder browser", [&] {
      selected = program.SelectedItemText(tree);
      return selected == L"saved";
    });
  } catch (const std::runtime_error&) {
    throw std::runtime_error("the folder browser stays on \"" + Utf8(selected) +
                             "\", not on the copies' folder");
  }
  PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

  HWND saving = program.WaitFor("saving dialog", [](HWND w) { return Has(w, ids::kSavingFolder); });
  program.WaitUntil("the saving dialog's folder",
                    [&] { return !DialogText(saving, ids::kSavingFolder).empty(); });
  Say("saving into: " + shown(DialogText(saving, ids::kSavingFolder)));
  HWND completion = program.WaitFor("completion dialog", [](HWND w) {
    return Has(w, ids::kCompletionOk) && !Has(w, ids::kAnalysisPause) && !Has(w, ids::kFileTable);
  });
  Say("completion: " + shown(TextOf(completion)) + ", preview " +
      (IsWindowVisible(preview) ? "shown" : "hidden"));
  Press(completion, ids::kCompletionOk);
  Say("program ended: " + std::to_string(program.WaitForEnd()));
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 4) {
    Say("usage: end_to_end_driver.exe <tarnwick.exe> <program folder> <test folder>");
    return 2;
  }
  int status = 0;
  try {
    Run(arguments[1], arguments[2], arguments[3]);
  } catch (const std::exception& error) {
    Say(std::string("gave up: ") + error.what());
    status = 1;
  }
  LocalFree(arguments);
  return status;
}

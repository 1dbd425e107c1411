// Poses the real tarnwick.exe for the README's Windows screenshots: the main window with the
// sources picked, then the analysis dialog at work on the first of them (a large one keeps it up).
// Each picture is the screen under the window, written as a BMP file into the shots folder.
//
//   screenshot_poser.exe <tarnwick.exe> <program folder> <work folder> <shots folder> <source>...
// The sources lie in one folder; the work folder gets the log and the work copies.
#include <windows.h>
// The system headers below build on the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bmp_file.h"
#include "control_ids.h"
#include "driven_program.h"
#include "win32_text.h"

using namespace tarnwick;
using namespace tarnwick::win32::test;

namespace {

void Shoot(HWND window, const std::wstring& path) {
  // Time to finish painting: the views draw their bitmaps after they are shown.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  RECT area{};
  GetWindowRect(window, &area);
  BmpImage picture{.width = area.right - area.left, .height = area.bottom - area.top, .pixels = {}};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = picture.width;
  format.bmiHeader.biHeight = -picture.height;  // top-down, as BmpImage keeps its rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP copy = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, copy);
  const bool copied = BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left,
                             area.top, SRCCOPY) != FALSE;
  GdiFlush();
  const auto* pixels = static_cast<const RGBQUAD*>(bits);
  for (int i = 0; copied && i < picture.width * picture.height; ++i) {
    picture.pixels.push_back({pixels[i].rgbRed, pixels[i].rgbGreen, pixels[i].rgbBlue});
  }
  SelectObject(memory, previous);
  DeleteObject(copy);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) throw std::runtime_error("cannot copy the screen under the window");
  if (!WriteBmp24(Utf8(path), picture)) throw std::runtime_error("cannot write " + Utf8(path));
}

void Pose(const std::wstring& exe, const std::wstring& programFolder, const std::wstring& work,
          const std::wstring& shots, const std::vector<std::wstring>& sources) {
  const DrivenProgram program(
      exe,
      {.program = programFolder, .log = work + L"\\log", .work = work + L"\\tmp", .start = work});
  HWND main = program.WaitFor("main window", [](HWND w) { return Has(w, ids::kFileTable); });
  std::vector<std::wstring> names;
  for (const std::wstring& source : sources) {
    names.push_back(std::filesystem::path(source).filename().wstring());
  }
  PickFiles(program, main, std::filesystem::path(sources.front()).parent_path().wstring(), names);
  HWND table = GetDlgItem(main, ids::kFileTable);
  program.WaitUntil("the sources in the file table", [&] {
    return SendMessageW(table, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(sources.size());
  });
  Shoot(main, shots + L"\\windows-main-window.bmp");

  Press(main, ids::kRepair);
  HWND analysis =
      program.WaitFor("analysis dialog", [](HWND w) { return Has(w, ids::kAnalysisProgress); });
  Shoot(analysis, shots + L"\\windows-analysis.bmp");
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count < 6) {
    std::printf(
        "usage: screenshot_poser.exe <tarnwick.exe> <program folder> <work folder> "
        "<shots folder> <source>...\n");
    return 2;
  }
  int status = 0;
  try {
    Pose(arguments[1], arguments[2], arguments[3], arguments[4],
         std::vector<std::wstring>(arguments + 5, arguments + count));
  } catch (const std::exception& error) {
    std::printf("gave up: %s\n", error.what());
    status = 1;
  }
  LocalFree(arguments);
  return status;
}

// tarnwick.exe: the desktop program. Picks damaged PDF files, repairs them, shows the repaired
// copies and saves them, in Win32 dialogs on top of the toolkit-free workflow.
#include <windows.h>
// The system headers below build on the types of windows.h.
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app_context.h"
#include "app_texts.h"
#include "application.h"
#include "browser_pane.h"
#include "native_platform.h"
#include "win32_message_boxes.h"
#include "win32_pickers.h"
#include "win32_process_services.h"
#include "win32_settings_store.h"
#include "win32_shell.h"
#include "win32_text.h"
#include "win32_view_factory.h"
#include "win32_window_thread.h"
#include "win32_window_titles.h"

namespace {

// Every classic common control class the windows and their dialogs use.
void InitCommonControlClasses() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_WIN95_CLASSES;
  InitCommonControlsEx(&classes);
}

std::vector<std::string> ArgumentsAfterProgram() {
  int count = 0;
  LPWSTR* given = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(tarnwick::Utf8(given[i]));
  LocalFree(given);
  return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tarnwick;
  InitCommonControlClasses();
  // The preview hosts the web browser control, which needs OLE on the window thread.
  if (FAILED(OleInitialize(nullptr))) {
    MessageBoxW(nullptr,
                L"OLE initialization failed.  Make sure that the OLE libraries are the correct "
                L"version.",
                Wide(ui::kMessageCaption).c_str(), MB_OK | MB_ICONWARNING);
    return 0;
  }
  win32::SetBrowserEmulationForThisProgram();

  NativeEnvironment environment;
  Win32SettingsStore settings;
  Win32WindowTitles titles;
  Win32Shell shell(environment);
  Win32ProcessEnd process;
  NativeDesktopFiles files;
  NativeWorkers workers;
  NativeClock clock;
  win32::Win32WindowThread windowThread;
  win32::Win32MessageBoxes messageBoxes;
  win32::Win32Pickers pickers;
  Desktop desktop{.messageBoxes = messageBoxes,
                  .pickers = pickers,
                  .shell = shell,
                  .titles = titles,
                  .process = process,
                  .environment = environment,
                  .settings = settings,
                  .files = files,
                  .clock = clock,
                  .windowThread = windowThread,
                  .workers = workers};
  win32::Win32ViewFactory views(shell, windowThread);
  AppContext app(desktop, views);
  CZazoRavazuApp program(app);
  program.InitInstance(ArgumentsAfterProgram());
  OleUninitialize();
  return 0;
}

#include "title_window_keeper.h"

#include <future>
#include <map>
#include <thread>

namespace tarnwick {

namespace {

// Requests to the keeper's control window. Create: lParam points to the title, the result is
// the new window's id. Destroy: wParam is the id.
constexpr UINT kCreateRequest = WM_APP + 1;
constexpr UINT kDestroyRequest = WM_APP + 2;
constexpr UINT kDestroyAllRequest = WM_APP + 3;

constexpr wchar_t kControlClass[] = L"TarnwickTitleKeeper";
constexpr wchar_t kTitleClass[] = L"TarnwickTitle";

// Touched only on the keeper's thread, so it needs no lock.
struct KeptWindows {
  std::map<TitleWindowKeeper::WindowId, HWND> byId;
  TitleWindowKeeper::WindowId lastId = TitleWindowKeeper::kNoWindow;
};

LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* kept = reinterpret_cast<KeptWindows*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  switch (message) {
    case kCreateRequest: {
      const auto* title = reinterpret_cast<const std::wstring*>(lParam);
      HWND window = CreateWindowExW(0, kTitleClass, title->c_str(), WS_OVERLAPPED, 0, 0, 0, 0,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      if (window == nullptr) return TitleWindowKeeper::kNoWindow;
      kept->byId.emplace(++kept->lastId, window);
      return static_cast<LRESULT>(kept->lastId);
    }
    case kDestroyRequest:
      if (const auto found = kept->byId.find(wParam); found != kept->byId.end()) {
        DestroyWindow(found->second);
        kept->byId.erase(found);
      }
      return 0;
    case kDestroyAllRequest:
      for (const auto& [id, window] : kept->byId) DestroyWindow(window);
      kept->byId.clear();
      return 0;
    default:
      return DefWindowProcW(control, message, wParam, lParam);
  }
}

bool RegisterClasses() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW control{};
  control.cbSize = sizeof control;
  control.lpfnWndProc = ControlProcedure;
  control.hInstance = instance;
  control.lpszClassName = kControlClass;
  WNDCLASSEXW title{};
  title.cbSize = sizeof title;
  title.lpfnWndProc = DefWindowProcW;
  title.hInstance = instance;
  title.lpszClassName = kTitleClass;
  return RegisterClassExW(&control) != 0 && RegisterClassExW(&title) != 0;
}

// The keeper's thread: makes the control window, hands it over through `ready`, then pumps
// messages until the process ends. A null control means it could not start.
void RunKeeper(std::promise<HWND>& ready) {
  KeptWindows kept;
  HWND control = nullptr;
  if (RegisterClasses()) {
    control = CreateWindowExW(0, kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  if (control != nullptr) SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&kept));
  ready.set_value(control);
  if (control == nullptr) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

TitleWindowKeeper::TitleWindowKeeper(HWND control) : control_(control) {}

TitleWindowKeeper& TitleWindowKeeper::Instance() {
  // Never destroyed, and its thread never joined: claims may be destroyed during static
  // destruction in any order, and the thread ends with the process.
  static TitleWindowKeeper* const keeper = [] {
    std::promise<HWND> ready;
    std::thread(RunKeeper, std::ref(ready)).detach();
    return new TitleWindowKeeper(ready.get_future().get());
  }();
  return *keeper;
}

TitleWindowKeeper::WindowId TitleWindowKeeper::Create(const std::wstring& title) {
  if (control_ == nullptr) return kNoWindow;
  return static_cast<WindowId>(
      SendMessageW(control_, kCreateRequest, 0, reinterpret_cast<LPARAM>(&title)));
}

void TitleWindowKeeper::Destroy(WindowId window) {
  if (control_ != nullptr) SendMessageW(control_, kDestroyRequest, window, 0);
}

void TitleWindowKeeper::DestroyAll() {
  if (control_ != nullptr) SendMessageW(control_, kDestroyAllRequest, 0, 0);
}

}  // namespace tarnwick

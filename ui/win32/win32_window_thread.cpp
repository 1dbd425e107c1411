#include "win32_window_thread.h"

#include "message_pump.h"

namespace tarnwick::win32 {
namespace {

constexpr wchar_t kReceiverClass[] = L"TarnwickWindowThread";
constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT kRunCall = WM_APP + 2;

bool IsUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

void RegisterReceiverClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW receiverClass{};
  receiverClass.cbSize = sizeof(receiverClass);
  receiverClass.lpfnWndProc = procedure;
  receiverClass.hInstance = instance;
  receiverClass.lpszClassName = kReceiverClass;
  // A second window thread object finds the class registered already; that is no failure.
  RegisterClassExW(&receiverClass);
}

}  // namespace

Win32WindowThread::Win32WindowThread() : threadId_(GetCurrentThreadId()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterReceiverClass(instance, &ReceiverProc);
  receiver_ = CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              instance, nullptr);
  SetWindowLongPtrW(receiver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32WindowThread::~Win32WindowThread() { DestroyWindow(receiver_); }

LRESULT CALLBACK Win32WindowThread::ReceiverProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  auto* self = reinterpret_cast<Win32WindowThread*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case kRunPosted:
      self->RunNextPosted();
      return 0;
    case kRunCall:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      return 0;
    case WM_TIMER:
      self->RunTimed(wParam);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void Win32WindowThread::Post(std::function<void()> task) {
  {
    const std::lock_guard lock(queueMutex_);
    posted_.push_back(std::move(task));
  }
  PostMessageW(receiver_, kRunPosted, 0, 0);
}

void Win32WindowThread::RunNextPosted() {
  std::function<void()> task;
  {
    const std::lock_guard lock(queueMutex_);
    if (posted_.empty()) return;
    task = std::move(posted_.front());
    posted_.pop_front();
  }
  task();
}

void Win32WindowThread::CallFromWorker(const std::function<void()>& task) {
  if (GetCurrentThreadId() == threadId_) {
    task();
    return;
  }
  SendMessageW(receiver_, kRunCall, 0, reinterpret_cast<LPARAM>(&task));
}

void Win32WindowThread::Wait(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // The loop that owns the quit must still see it.
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      if (!IsUserInput(message.message)) DispatchWindowMessage(message);
    }
  }
}

void Win32WindowThread::PostAfter(int milliseconds, std::function<void()> task) {
  const UINT_PTR timer = ++lastTimer_;
  timed_.emplace(timer, std::move(task));
  SetTimer(receiver_, timer, static_cast<UINT>(milliseconds), nullptr);
}

void Win32WindowThread::RunTimed(UINT_PTR timer) {
  KillTimer(receiver_, timer);
  const auto found = timed_.find(timer);
  if (found == timed_.end()) return;
  const std::function<void()> task = std::move(found->second);
  timed_.erase(found);
  task();
}

}  // namespace tarnwick::win32

#include "win32_window_titles.h"

#include <windows.h>

#include "title_window_keeper.h"
#include "utf16_text.h"

namespace tarnwick {

namespace {

class KeptTitle final : public WindowTitles::Claim {
 public:
  explicit KeptTitle(TitleWindowKeeper::WindowId window) : window_(window) {}
  ~KeptTitle() override { TitleWindowKeeper::Instance().Destroy(window_); }
  KeptTitle(const KeptTitle&) = delete;
  KeptTitle& operator=(const KeptTitle&) = delete;

 private:
  TitleWindowKeeper::WindowId window_;
};

}  // namespace

bool Win32WindowTitles::Exists(const std::string& title) {
  return FindWindowW(nullptr, ToUtf16(title).c_str()) != nullptr;
}

std::unique_ptr<WindowTitles::Claim> Win32WindowTitles::Show(const std::string& title) {
  const auto window = TitleWindowKeeper::Instance().Create(ToUtf16(title));
  if (window == TitleWindowKeeper::kNoWindow) return nullptr;
  return std::make_unique<KeptTitle>(window);
}

void Win32WindowTitles::WithdrawAll() { TitleWindowKeeper::Instance().DestroyAll(); }

}  // namespace tarnwick

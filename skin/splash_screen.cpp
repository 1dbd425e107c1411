#include "splash_screen.h"

#include <cstdint>
#include <utility>

namespace tarnwick {

CSplashScreenEx::CSplashScreenEx(std::unique_ptr<SplashView> view)
    : view_(std::move(view)), fadingSupported_(view_->SupportsFading()) {
  view_->SetTimerListener([this](int id) { OnTimer(id); });
}

bool CSplashScreenEx::CreateSplash(WindowHandle* parent, unsigned timeout, unsigned style) {
  if (state_ != State::kNew) return false;
  parent_ = parent;
  timeout_ = timeout;
  style_ = style;
  const bool dropShadow = (style & kDropShadow) != 0;
  // Some systems cannot give a window a shadow; the splash screen is still worth showing.
  const bool created =
      view_->Create(parent, dropShadow) || (dropShadow && view_->Create(parent, false));
  if (created) state_ = State::kCreated;
  return created;
}

bool CSplashScreenEx::LoadPicture(const std::string& path, int red, int green, int blue) {
  if (state_ != State::kCreated) return false;
  std::optional<BmpImage> picture = ReadBmp(path);
  if (!picture) return false;
  picture_ = std::move(picture);
  width_ = picture_->width;
  height_ = picture_->height;
  if ((style_ & kCentre) != 0) {
    const ScreenSize screen = view_->ScreenClientSize();
    x_ = (screen.width - width_) / 2;
    y_ = (screen.height - height_) / 2;
  }
  view_->SetPicture(*picture_);
  if (red != -1 && green != -1 && blue != -1) {
    const Rgb key{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                  static_cast<std::uint8_t>(blue)};
    shape_ = KeyColourShape(*picture_, key);
    view_->SetShape(*shape_);
  }
  return true;
}

void CSplashScreenEx::ShowSplash() {
  if (state_ != State::kCreated) return;
  view_->Place(x_, y_, width_, height_);
  if (Fades(kFadeIn)) {
    view_->FadeIn(kFadeInMilliseconds);
  } else {
    view_->Show();
  }
  if (timeout_ != 0) {
    view_->StartTimer(kHideTimer, timeout_);
    timerRunning_ = true;
  }
}

void CSplashScreenEx::HideSplash() {
  if (state_ != State::kCreated) return;
  if (Fades(kFadeOut)) {
    view_->FadeOut(kFadeOutMilliseconds);
  } else {
    view_->Hide();
  }
  // A timer must not outlive the window it belongs to.
  if (timerRunning_) {
    view_->StopTimer(kHideTimer);
    timerRunning_ = false;
  }
  view_->Destroy();
  state_ = State::kDestroyed;
}

void CSplashScreenEx::OnTimer(int id) {
  if (id != kHideTimer || !timerRunning_ || state_ != State::kCreated) return;
  view_->StopTimer(kHideTimer);
  timerRunning_ = false;
  HideSplash();
}

}  // namespace tarnwick

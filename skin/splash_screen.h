#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "key_colour_shape.h"
#include "splash_view.h"

namespace tarnwick {

// The picture window shown while the program starts: it takes its shape from the picture minus a
// key colour, may fade in and out, and hides itself after a timeout. Hiding it destroys its
// window for good: from then on Destroyed() is true and the owner may release the object whenever
// it likes. Every operation but CreateSplash does nothing while there is no window (before
// CreateSplash succeeds, or after HideSplash).
class CSplashScreenEx {
 public:
  static constexpr unsigned kFadeIn = 0x1;
  static constexpr unsigned kFadeOut = 0x2;
  static constexpr unsigned kDropShadow = 0x4;
  static constexpr unsigned kCentre = 0x8;

  static constexpr unsigned kFadeInMilliseconds = 500;
  static constexpr unsigned kFadeOutMilliseconds = 200;
  static constexpr int kHideTimer = 0;

  // Whether the view can fade is asked once, here.
  // The view's timers call back into this object, which therefore stays where it was made.
  explicit CSplashScreenEx(std::unique_ptr<SplashView> view);
  CSplashScreenEx(const CSplashScreenEx&) = delete;
  CSplashScreenEx& operator=(const CSplashScreenEx&) = delete;

  // Stores the arguments and creates the hidden window. A window with a drop shadow that cannot
  // be made is tried once more without the shadow. False when no window was made, or when this
  // object already made one.
  bool CreateSplash(WindowHandle* parent, unsigned timeout, unsigned style);
  // Loads the picture from a bitmap file and takes its size; with kCentre, places it in the middle
  // of the screen. Unless one of the components is -1, cuts the key colour out of the window (a
  // component outside 0..255 counts by its low byte, as the colour macro it stands for did). False
  // and nothing changed when the file cannot be read or there is no window.
  bool LoadPicture(const std::string& path, int red, int green, int blue);
  // Places and shows the window, fading it in with kFadeIn where the view can; then starts the
  // hide timer unless the timeout is 0.
  void ShowSplash();
  // Hides the window, fading it out with kFadeOut where the view can, and destroys it.
  void HideSplash();
  // The hide timer's expiry: stops it and hides the window.
  void OnTimer(int id);

  bool Destroyed() const { return state_ == State::kDestroyed; }
  WindowHandle* Parent() const { return parent_; }
  unsigned Timeout() const { return timeout_; }
  unsigned Style() const { return style_; }
  const std::optional<BmpImage>& Picture() const { return picture_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  // None when no key colour was applied; empty when every pixel was of the key colour.
  const std::optional<std::vector<ShapeRect>>& Shape() const { return shape_; }

 private:
  enum class State { kNew, kCreated, kDestroyed };

  bool Fades(unsigned styleBit) const { return (style_ & styleBit) != 0 && fadingSupported_; }

  std::unique_ptr<SplashView> view_;
  const bool fadingSupported_;
  State state_ = State::kNew;
  bool timerRunning_ = false;

  WindowHandle* parent_ = nullptr;
  unsigned timeout_ = 2000;
  unsigned style_ = 0;
  std::optional<BmpImage> picture_;
  int width_ = 0;
  int height_ = 0;
  int x_ = 0;
  int y_ = 0;
  std::optional<std::vector<ShapeRect>> shape_;
};

}  // namespace tarnwick

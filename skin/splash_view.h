#pragma once

#include <functional>
#include <vector>

#include "bmp_file.h"
#include "key_colour_shape.h"
#include "window_handle.h"

namespace tarnwick {

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// What the splash screen needs from a toolkit: one borderless, topmost tool window without a
// title that draws a picture at (0,0) in its own size and never erases its background. The view
// holds no logic. While a timer runs, the view calls its timer listener on the window thread each
// time its period elapses.
class SplashView : public virtual WindowHandle {
 public:
  // Creates the window, hidden, at (0,0) with size 0, owned by `parent` (none when null), with a
  // drop shadow when asked. False when the window cannot be made.
  virtual bool Create(WindowHandle* parent, bool dropShadow) = 0;
  // The client area of a full-screen window on the primary screen.
  virtual ScreenSize ScreenClientSize() const = 0;
  // The picture the window draws from now on.
  virtual void SetPicture(const BmpImage& picture) = 0;
  // Limits the window to the union of `shape` (possibly empty: nothing visible) and redraws it.
  virtual void SetShape(const std::vector<ShapeRect>& shape) = 0;
  // Moves and sizes the window without changing its stacking order or activating it.
  virtual void Place(int x, int y, int width, int height) = 0;
  // Whether the system can blend a window in and out.
  virtual bool SupportsFading() const = 0;
  virtual void FadeIn(unsigned milliseconds) = 0;
  virtual void Show() = 0;
  // Blends the window out and leaves it hidden.
  virtual void FadeOut(unsigned milliseconds) = 0;
  virtual void Hide() = 0;
  // Who hears the timers: the splash screen object that owns this view.
  virtual void SetTimerListener(std::function<void(int id)> listener) = 0;
  virtual void StartTimer(int id, unsigned milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  // Destroys the window; no call but the destructor follows.
  virtual void Destroy() = 0;
};

}  // namespace tarnwick

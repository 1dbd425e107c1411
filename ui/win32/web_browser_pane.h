#pragma once

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>

#include "views.h"

namespace tarnwick::win32::browser {

class BrowserSite;

// The system's web browser control, hosted in place in the dialog. Its NavigateComplete2
// events complete the navigations.
class WebBrowserPane final : public BrowserPane {
 public:
  // Null when the control cannot be created or activated on this thread, which must have
  // initialised OLE.
  static std::unique_ptr<WebBrowserPane> Create(HWND dialog, const RECT& rect,
                                                std::function<void()> onComplete);
  ~WebBrowserPane() override;
  WebBrowserPane(const WebBrowserPane&) = delete;
  WebBrowserPane& operator=(const WebBrowserPane&) = delete;

  bool Navigate(const std::string& address) override;
  bool Refresh() override;
  void Place(int x, int y, int width, int height) override;

 private:
  WebBrowserPane(HWND dialog, const RECT& rect, std::function<void()> onComplete);
  bool Embed();
  bool ConnectEvents();

  HWND dialog_;
  RECT rect_;
  std::function<void()> onComplete_;
  Microsoft::WRL::ComPtr<BrowserSite> site_;
  Microsoft::WRL::ComPtr<IOleObject> object_;
  Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlaceObject_;
  Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
  Microsoft::WRL::ComPtr<IConnectionPoint> eventSource_;
  DWORD eventCookie_ = 0;
};

}  // namespace tarnwick::win32::browser

#include "web_browser_pane.h"

#include <ocidl.h>

#include "browser_address.h"
#include "browser_site.h"
#include "navigation_events.h"
#include "utf8_to_wide.h"

namespace tarnwick::win32::browser {
namespace {

using Microsoft::WRL::ComPtr;

// A VARIANT that clears itself, so no string outlives the call it was made for.
struct Variant {
  Variant() { VariantInit(&value); }
  ~Variant() { VariantClear(&value); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT value;
};

}  // namespace

std::unique_ptr<WebBrowserPane> WebBrowserPane::Create(HWND dialog, const RECT& rect,
                                                       std::function<void()> onComplete) {
  std::unique_ptr<WebBrowserPane> pane(new WebBrowserPane(dialog, rect, std::move(onComplete)));
  if (!pane->Embed() || !pane->ConnectEvents()) return nullptr;
  return pane;
}

WebBrowserPane::WebBrowserPane(HWND dialog, const RECT& rect, std::function<void()> onComplete)
    : dialog_(dialog), rect_(rect), onComplete_(std::move(onComplete)) {}

// Also undoes a creation that stopped half-way.
WebBrowserPane::~WebBrowserPane() {
  if (eventSource_) eventSource_->Unadvise(eventCookie_);
  if (inPlaceObject_) inPlaceObject_->InPlaceDeactivate();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
}

bool WebBrowserPane::Embed() {
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(object_.GetAddressOf())))) {
    return false;
  }
  site_.Attach(new BrowserSite(dialog_, rect_));
  if (FAILED(object_->SetClientSite(site_.Get()))) return false;
  if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, dialog_,
                             &rect_))) {
    return false;
  }
  return SUCCEEDED(object_.As(&inPlaceObject_)) && SUCCEEDED(object_.As(&browser_));
}

bool WebBrowserPane::ConnectEvents() {
  ComPtr<IConnectionPointContainer> sources;
  if (FAILED(object_.As(&sources)) ||
      FAILED(sources->FindConnectionPoint(DIID_DWebBrowserEvents2, &eventSource_))) {
    return false;
  }
  ComPtr<NavigationEvents> sink;
  sink.Attach(new NavigationEvents(onComplete_));
  if (SUCCEEDED(eventSource_->Advise(sink.Get(), &eventCookie_))) return true;
  eventSource_.Reset();
  return false;
}

bool WebBrowserPane::Navigate(const std::string& address) {
  Variant url;
  url.value.vt = VT_BSTR;
  url.value.bstrVal = SysAllocString(Utf8ToWide(ControlAddress(address)).c_str());
  Variant flags, targetFrame, postData, headers;
  const HRESULT result = browser_->Navigate2(&url.value, &flags.value, &targetFrame.value,
                                             &postData.value, &headers.value);
  if (SUCCEEDED(result)) return true;
  // No NavigateComplete2 follows a navigation refused outright.
  onComplete_();
  return false;
}

bool WebBrowserPane::Refresh() { return SUCCEEDED(browser_->Refresh()); }

void WebBrowserPane::Place(int x, int y, int width, int height) {
  rect_ = RECT{x, y, x + width, y + height};
  site_->SetRect(rect_);
  inPlaceObject_->SetObjectRects(&rect_, &rect_);
}

}  // namespace tarnwick::win32::browser

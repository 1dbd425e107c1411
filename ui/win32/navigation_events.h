#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>

namespace tarnwick::win32::browser {

// Receives the web browser control's events and reports every completed navigation.
class NavigationEvents final : public IDispatch {
 public:
  explicit NavigationEvents(std::function<void()> onComplete);
  NavigationEvents(const NavigationEvents&) = delete;
  NavigationEvents& operator=(const NavigationEvents&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override;

 private:
  ~NavigationEvents() = default;

  ULONG references_ = 1;
  std::function<void()> onComplete_;
};

}  // namespace tarnwick::win32::browser

#include "navigation_events.h"

#include <exdisp.h>
#include <exdispid.h>

namespace tarnwick::win32::browser {

NavigationEvents::NavigationEvents(std::function<void()> onComplete)
    : onComplete_(std::move(onComplete)) {}

HRESULT NavigationEvents::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// Events arrive on the dialog's thread only: the control lives in that thread's apartment.
ULONG NavigationEvents::AddRef() { return ++references_; }

ULONG NavigationEvents::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT NavigationEvents::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT NavigationEvents::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
  if (typeInfo) *typeInfo = nullptr;
  return E_NOTIMPL;
}

HRESULT NavigationEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT NavigationEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                 EXCEPINFO*, UINT*) {
  if (id != DISPID_NAVIGATECOMPLETE2) return DISP_E_MEMBERNOTFOUND;
  onComplete_();
  return S_OK;
}

}  // namespace tarnwick::win32::browser

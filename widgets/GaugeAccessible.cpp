#include "widgets/GaugeAccessible.h"

namespace {

HRESULT NoText(BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return S_FALSE;
}

HRESULT Empty(VARIANT* out) {
  if (!out) return E_POINTER;
  out->vt = VT_EMPTY;
  return S_FALSE;
}

std::wstring WindowTextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

} // namespace

void TGaugeAccessible::NotifyValueChange(HWND gauge) {
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, gauge, OBJID_CLIENT, CHILDID_SELF);
}

HRESULT TGaugeAccessible::CheckSelf(const VARIANT& child) const {
  if (!Window()) return CO_E_OBJNOTCONNECTED;
  return IsSelf(child) ? S_OK : E_INVALIDARG;
}

HRESULT TGaugeAccessible::Text(const VARIANT& child, const std::wstring& text, BSTR* out) const {
  if (!out) return E_POINTER;
  *out = nullptr;
  const HRESULT self = CheckSelf(child);
  if (FAILED(self)) return self;
  *out = AccessibleText(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT TGaugeAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  if (!Window()) return CO_E_OBJNOTCONNECTED;
  // The parent of a client area is the system's object of its window.
  try {
    TComPtr<IAccessible> window = StandardAccessible(Window(), OBJID_WINDOW);
    return window->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(parent));
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT TGaugeAccessible::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return Window() ? S_OK : CO_E_OBJNOTCONNECTED;
}

HRESULT TGaugeAccessible::get_accChild(VARIANT, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return Window() ? E_INVALIDARG : CO_E_OBJNOTCONNECTED; // no children
}

HRESULT TGaugeAccessible::get_accName(VARIANT child, BSTR* name) {
  return Text(child, kGaugeAccessibleName, name);
}

HRESULT TGaugeAccessible::get_accValue(VARIANT child, BSTR* value) {
  return Text(child, Window() ? WindowTextOf(Window()) : std::wstring(), value);
}

HRESULT TGaugeAccessible::get_accDescription(VARIANT child, BSTR* description) {
  const HRESULT self = CheckSelf(child);
  return FAILED(self) ? self : NoText(description);
}

HRESULT TGaugeAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  role->vt = VT_EMPTY;
  const HRESULT self = CheckSelf(child);
  if (FAILED(self)) return self;
  role->vt = VT_I4;
  role->lVal = ROLE_SYSTEM_PROGRESSBAR;
  return S_OK;
}

HRESULT TGaugeAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  state->vt = VT_EMPTY;
  const HRESULT self = CheckSelf(child);
  if (FAILED(self)) return self;
  state->vt = VT_I4;
  state->lVal = STATE_SYSTEM_READONLY | (IsWindowVisible(Window()) ? 0 : STATE_SYSTEM_INVISIBLE);
  return S_OK;
}

HRESULT TGaugeAccessible::get_accHelp(VARIANT child, BSTR* help) {
  const HRESULT self = CheckSelf(child);
  return FAILED(self) ? self : NoText(help);
}

HRESULT TGaugeAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = 0;
  return Window() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT TGaugeAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  const HRESULT self = CheckSelf(child);
  return FAILED(self) ? self : NoText(shortcut);
}

HRESULT TGaugeAccessible::get_accFocus(VARIANT* focus) {
  if (!Window()) return focus ? (focus->vt = VT_EMPTY, CO_E_OBJNOTCONNECTED) : E_POINTER;
  return Empty(focus); // the gauge never takes the focus
}

HRESULT TGaugeAccessible::get_accSelection(VARIANT* selection) {
  if (!Window()) return selection ? (selection->vt = VT_EMPTY, CO_E_OBJNOTCONNECTED) : E_POINTER;
  return Empty(selection);
}

HRESULT TGaugeAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  const HRESULT self = CheckSelf(child);
  return FAILED(self) ? self : NoText(action);
}

HRESULT TGaugeAccessible::accSelect(long, VARIANT child) {
  const HRESULT self = CheckSelf(child);
  return FAILED(self) ? self : S_FALSE;
}

HRESULT TGaugeAccessible::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  const HRESULT self = CheckSelf(child);
  if (FAILED(self)) return self;
  RECT client;
  GetClientRect(Window(), &client);
  MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  *left = client.left;
  *top = client.top;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  return S_OK;
}

HRESULT TGaugeAccessible::accNavigate(long, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  end->vt = VT_EMPTY;
  const HRESULT self = CheckSelf(start);
  return FAILED(self) ? self : S_FALSE; // no children; siblings are the window's to tell
}

HRESULT TGaugeAccessible::accHitTest(long x, long y, VARIANT* child) {
  if (!child) return E_POINTER;
  child->vt = VT_EMPTY;
  if (!Window()) return CO_E_OBJNOTCONNECTED;
  RECT client;
  GetClientRect(Window(), &client);
  POINT point{x, y};
  ScreenToClient(Window(), &point);
  if (!PtInRect(&client, point)) return S_FALSE;
  child->vt = VT_I4;
  child->lVal = CHILDID_SELF;
  return S_OK;
}

HRESULT TGaugeAccessible::accDoDefaultAction(VARIANT child) {
  const HRESULT self = CheckSelf(child);
  return FAILED(self) ? self : DISP_E_MEMBERNOTFOUND;
}

HRESULT TGaugeAccessible::put_accName(VARIANT, BSTR) {
  return E_NOTIMPL;
}

HRESULT TGaugeAccessible::put_accValue(VARIANT, BSTR) {
  return E_NOTIMPL;
}

#include "widgets/NamedAccessible.h"
#include <utility>

TNamedAccessible::TNamedAccessible(HWND window, std::wstring name)
    : TAccessibleBase(window), FSystem(StandardAccessible(window, OBJID_CLIENT)),
      FName(std::move(name)) {}

void TNamedAccessible::Disconnect() {
  TAccessibleBase::Disconnect();
  FSystem.Reset();
}

void* TNamedAccessible::OtherInterface(REFIID id) {
  void* other = nullptr;
  if (id == __uuidof(IEnumVARIANT) && FSystem && SUCCEEDED(FSystem->QueryInterface(id, &other))) {
    // QueryInterface adds the reference the caller's one; the base adds another.
    static_cast<IUnknown*>(other)->Release();
    return other;
  }
  return nullptr;
}

HRESULT TNamedAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (!FSystem) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return FSystem->get_accName(child, name);
  *name = AccessibleText(FName);
  return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT TNamedAccessible::get_accParent(IDispatch** parent) {
  return FSystem ? FSystem->get_accParent(parent) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accChildCount(long* count) {
  return FSystem ? FSystem->get_accChildCount(count) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accChild(VARIANT child, IDispatch** object) {
  return FSystem ? FSystem->get_accChild(child, object) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accValue(VARIANT child, BSTR* value) {
  return FSystem ? FSystem->get_accValue(child, value) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accDescription(VARIANT child, BSTR* description) {
  return FSystem ? FSystem->get_accDescription(child, description) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accRole(VARIANT child, VARIANT* role) {
  return FSystem ? FSystem->get_accRole(child, role) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accState(VARIANT child, VARIANT* state) {
  return FSystem ? FSystem->get_accState(child, state) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accHelp(VARIANT child, BSTR* help) {
  return FSystem ? FSystem->get_accHelp(child, help) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  return FSystem ? FSystem->get_accHelpTopic(file, child, topic) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return FSystem ? FSystem->get_accKeyboardShortcut(child, shortcut) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accFocus(VARIANT* focus) {
  return FSystem ? FSystem->get_accFocus(focus) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accSelection(VARIANT* selection) {
  return FSystem ? FSystem->get_accSelection(selection) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  return FSystem ? FSystem->get_accDefaultAction(child, action) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::accSelect(long flags, VARIANT child) {
  return FSystem ? FSystem->accSelect(flags, child) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  return FSystem ? FSystem->accLocation(left, top, width, height, child) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  return FSystem ? FSystem->accNavigate(direction, start, end) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::accHitTest(long x, long y, VARIANT* child) {
  return FSystem ? FSystem->accHitTest(x, y, child) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::accDoDefaultAction(VARIANT child) {
  return FSystem ? FSystem->accDoDefaultAction(child) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::put_accName(VARIANT child, BSTR name) {
  return FSystem ? FSystem->put_accName(child, name) : CO_E_OBJNOTCONNECTED;
}

HRESULT TNamedAccessible::put_accValue(VARIANT child, BSTR value) {
  return FSystem ? FSystem->put_accValue(child, value) : CO_E_OBJNOTCONNECTED;
}

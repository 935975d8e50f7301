#pragma once
// What a screen reader asks of a widget (WM_GETOBJECT, IAccessible), for the widgets that the
// system's own objects describe wrongly. oleacc.dll and oleaut32.dll are loaded from the system
// folder when a reader first asks: the start-up neither imports nor loads them.
//
// The objects are reference-counted COM objects that a reader in another process may hold
// after the widget's window is gone. The widget keeps its object and disconnects it when its
// window is destroyed; from then on every call answers CO_E_OBJNOTCONNECTED and the object
// lives on only until the reader lets it go.
#include "widgets/ComPtr.h"
#include <windows.h>
#include <oleacc.h>
#include <memory>
#include <string>
#include <utility>

// The answer to WM_GETOBJECT for an object (LresultFromObject), starting COM on the window's
// thread first. Raises Exception when oleacc.dll or COM cannot be had; 0 when the object could
// not be handed over.
LRESULT AccessibleResult(IAccessible* object, WPARAM wParam);
// The system's own object for a part of a window (CreateStdAccessibleObject). Raises Exception
// when it cannot be had.
TComPtr<IAccessible> StandardAccessible(HWND window, LONG objectId);
// True when a WM_GETOBJECT asks for the window's client area.
bool AsksForClient(LPARAM objectId);

// The bookkeeping every accessible object of a widget shares: reference count, the
// interfaces it answers (IAccessible, IDispatch without type information, IOleWindow), and
// the link to its window until that is destroyed.
class TAccessibleBase : public IAccessible, public IOleWindow {
public:
  explicit TAccessibleBase(HWND window) : FWindow(window) {}
  virtual ~TAccessibleBase() = default;
  TAccessibleBase(const TAccessibleBase&) = delete;
  TAccessibleBase& operator=(const TAccessibleBase&) = delete;

  // The window is being destroyed: let go of it and of anything that needs it.
  virtual void Disconnect() { FWindow = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: readers use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
  // IOleWindow: which window the object is (WindowFromAccessibleObject asks).
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;

protected:
  // Null once disconnected.
  HWND Window() const { return FWindow; }
  // Interfaces beyond those above that the object answers (null: none).
  virtual void* OtherInterface(REFIID) { return nullptr; }

private:
  HWND FWindow;
  LONG FReferences = 1;
};

// Creates an accessible object of type T; its one reference goes to the returned owner, and
// the object ends itself when its last reference is released.
template <typename T, typename... Args> TComPtr<TAccessibleBase> MakeAccessible(Args&&... args) {
  TComPtr<TAccessibleBase> owner;
  owner.Attach(std::make_unique<T>(std::forward<Args>(args)...).release());
  return owner;
}

// A text for a reader (a BSTR it frees); null when out of memory.
BSTR AccessibleText(const std::wstring& text);
// True when child names the object itself.
bool IsSelf(const VARIANT& child);

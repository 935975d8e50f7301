#include "widgets/Accessible.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "widgets/ShellLibraries.h"
#include "widgets/SystemLibrary.h"

namespace {

struct TOleAcc {
  decltype(LresultFromObject)* Result =
      SystemEntry<decltype(LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  decltype(CreateStdAccessibleObject)* Standard =
      SystemEntry<decltype(CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
};

const TOleAcc& OleAcc() {
  static const TOleAcc functions;
  return functions;
}

} // namespace

LRESULT AccessibleResult(IAccessible* object, WPARAM wParam) {
  const TOleAcc& oleacc = OleAcc();
  // Handing the object to another process marshals it, which needs COM on this thread.
  EnsureComStarted();
  const LRESULT result = oleacc.Result(__uuidof(IAccessible), wParam, object);
  return result < 0 ? 0 : result; // a failure's HRESULT is no answer to give
}

TComPtr<IAccessible> StandardAccessible(HWND window, LONG objectId) {
  TComPtr<IAccessible> object;
  const HRESULT result = OleAcc().Standard(window, objectId, IID_PPV_ARGS(&object));
  if (FAILED(result) || !object)
    throw Exception(L"No accessible object of the system. " +
                    SysErrorMessage(static_cast<DWORD>(result)));
  return object;
}

bool AsksForClient(LPARAM objectId) {
  // The identifier is a 32-bit value, which a 64-bit lParam may carry sign-extended or not.
  return static_cast<DWORD>(objectId) == static_cast<DWORD>(OBJID_CLIENT);
}

BSTR AccessibleText(const std::wstring& text) {
  static const auto allocate =
      SystemEntry<decltype(SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  return allocate(text.data(), static_cast<UINT>(text.size()));
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT TAccessibleBase::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible))
    *object = static_cast<IAccessible*>(this);
  else if (id == __uuidof(IOleWindow))
    *object = static_cast<IOleWindow*>(this);
  else
    *object = OtherInterface(id);
  if (!*object) return E_NOINTERFACE;
  static_cast<IUnknown*>(*object)->AddRef();
  return S_OK;
}

ULONG TAccessibleBase::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&FReferences));
}

ULONG TAccessibleBase::Release() {
  const LONG left = InterlockedDecrement(&FReferences);
  // The last reference ends the object, which MakeAccessible made on the heap.
  if (left == 0) std::unique_ptr<TAccessibleBase> last(this);
  return static_cast<ULONG>(left);
}

HRESULT TAccessibleBase::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT TAccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT TAccessibleBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT TAccessibleBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                UINT*) {
  return E_NOTIMPL;
}

HRESULT TAccessibleBase::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = FWindow;
  return FWindow ? S_OK : CO_E_OBJNOTCONNECTED;
}

HRESULT TAccessibleBase::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}

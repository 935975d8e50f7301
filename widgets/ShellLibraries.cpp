#include "widgets/ShellLibraries.h"
#include "widgets/SystemLibrary.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include <string>

namespace {

struct TOle32 {
  decltype(CoInitializeEx)* Initialize =
      SystemEntry<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  decltype(CoCreateInstance)* CreateInstance =
      SystemEntry<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  decltype(CoTaskMemFree)* TaskMemFree =
      SystemEntry<decltype(CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
};

const TOle32& Ole32() {
  static const TOle32 functions;
  return functions;
}
} // namespace

void EnsureComStarted() {
  static bool started = false;
  if (started) return;
  const HRESULT result = Ole32().Initialize(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE and a different apartment already set up on this thread still let the dialog run.
  if (FAILED(result) && result != RPC_E_CHANGED_MODE)
    throw Exception(L"Starting COM failed. " + SysErrorMessage(static_cast<DWORD>(result)));
  started = true;
}

HRESULT ShellCoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                              void** object) {
  return Ole32().CreateInstance(classId, outer, context, interfaceId, object);
}

void ShellCoTaskMemFree(void* memory) {
  Ole32().TaskMemFree(memory);
}

HRESULT ShellCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID interfaceId,
                                       void** item) {
  static const auto create = SystemEntry<decltype(SHCreateItemFromParsingName)>(
      L"shell32.dll", "SHCreateItemFromParsingName");
  return create(path, context, interfaceId, item);
}

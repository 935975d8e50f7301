// Start-up: application title, the visual style, the one main window, the message loop.
#include "funcoes/pure/Exception.h"
#include "ui/SingleInstance.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/Application.h"
#include "widgets/Style.h"
#include "widgets/SystemLibrary.h"
#include <windows.h>
#include <memory>

namespace {
// Operators start the exe where it landed, often Downloads: no library loaded later (COM, the
// shell, the folder dialog, ...) may come from the exe's folder or the current folder.
// SetDefaultDllDirectories is looked up, not imported: Windows 7 without update KB2533623 lacks
// it, and an exe that imports it does not start there at all. There the current folder at least
// leaves the search.
void KeepLibraryLoadsInTheSystemFolder() {
  using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  if (const auto set = EntryOf<TSetDefaultDllDirectories>(GetModuleHandleW(L"kernel32.dll"),
                                                          "SetDefaultDllDirectories"))
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
  else
    SetDllDirectoryW(L"");
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  KeepLibraryLoadsInTheSystemFolder();
  // A second start brings the running copy forward and ends nothing: the start-up below ends
  // every mirroring tool, the running copy's mirror included.
  const TSingleInstance instance;
  if (!instance.First()) return 0;
  std::wstring failure;
  try {
    Application.Initialize();
    Application.SetTitle(kApplicationTitle);
    StyleManager::TrySetStyle(L"Glossy", true);
    auto form = std::make_unique<TFrmReplimar>();
    FrmReplimar = form.get();
    Application.Run();
    FrmReplimar = nullptr;
    return 0;
  } catch (...) {
    failure = TApplication::ExceptionMessage(std::current_exception());
  }
  MessageBoxW(nullptr, failure.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
  return 1;
}

// Start-up: application title, the visual style, the one main window, the message loop.
#include "funcoes/pure/Exception.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/Application.h"
#include "widgets/StartSteps.h"
#include "widgets/Style.h"
#include <windows.h>
#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  StartStep(L"process loaded (libraries, runtime)");
  // Operators start the exe where it landed, often Downloads: no library loaded later (COM, the
  // shell, the folder dialog, ...) may come from the exe's folder or the current folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  std::wstring failure;
  try {
    Application.Initialize();
    Application.SetTitle(kApplicationTitle);
    StyleManager::TrySetStyle(L"Glossy", true);
    StartStep(L"style");
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

// Start-up: application title, the visual style, the one main window, the message loop.
#include "funcoes/pure/Exception.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/Application.h"
#include "widgets/Style.h"
#include <windows.h>
#include <cstring>
#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Operators start the exe where it landed, often Downloads: no library loaded later (COM, the
  // shell, the folder dialog, ...) may come from the exe's folder or the current folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  std::wstring failure;
  try {
    Application.Initialize();
    Application.MainFormOnTaskBar = true;
    Application.SetTitle(kApplicationTitle);
    StyleManager::TrySetStyle(L"Glossy", true);
    auto form = std::make_unique<TFrmReplimar>();
    FrmReplimar = form.get();
    Application.Run();
    FrmReplimar = nullptr;
    return 0;
  } catch (const Exception& e) {
    failure = e.Message();
  } catch (const std::exception& e) {
    failure.assign(e.what(), e.what() + strlen(e.what()));
  }
  MessageBoxW(nullptr, failure.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
  return 1;
}

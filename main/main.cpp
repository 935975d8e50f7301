// Start-up: application title, the visual style, the one main window, the message loop.
#include "funcoes/pure/Exception.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/Application.h"
#include "widgets/Style.h"
#include <windows.h>
#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
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

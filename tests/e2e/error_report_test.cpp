// Errors that escape a handler reach the error report: the application title, a stop icon, the
// message with its full stop rule, one "OK" button; the window goes on running.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/MirrorFixture.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace e2e;

bool HasStopIcon(HWND box) {
  for (HWND child : FindAll(box, L"STATIC"))
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return true;
  return false;
}

class ErrorReport : public TMirrorTest {};

TEST_F(ErrorReport, AFailureWhileTheWindowIsShownIsReportedThenTheWindowOpens) {
  // A stored source of the wrong type makes the settings store fail at the window's show.
  const DWORD number = 7;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  UniqueHKey owner(key);
  RegSetValueExW(key, L"storage_Origem", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof(number));

  FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH, TStartWait::ForProcessOnly);
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kStartTimeout);
  ASSERT_NE(box, nullptr);
  // The message ends in "'", below ".": no full stop is added.
  EXPECT_EQ(MessageText(box), L"Invalid data type for 'storage_Origem'");
  EXPECT_TRUE(HasStopIcon(box));
  EXPECT_EQ(WindowText(box), L"Replimar KORVELL");
  EXPECT_EQ(FApp->FindTopLevel(kMainCaption, kMainClass), nullptr)
      << "the window is not visible yet";

  PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
  ASSERT_TRUE(FApp->AdoptMainWindow()) << "the window opens all the same";
  EXPECT_EQ(FApp->Close(), 0u);
}

TEST_F(ErrorReport, AFolderGoneFromAListIsReportedAndTheWindowGoesOn) {
  const std::wstring sub = FSource + L"\\sub";
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
  StartProgram();
  const HWND list = FApp->SourceDirectoryList();
  const auto rows = ListItems(list);
  const auto row = std::find(rows.begin(), rows.end(), L"sub");
  ASSERT_NE(row, rows.end());
  ASSERT_TRUE(RemoveDirectoryW(sub.c_str()));

  // The operator picks the row and presses Enter.
  PostMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row - rows.begin()), 0);
  PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr);
  const std::wstring text = MessageText(box);
  EXPECT_EQ(text.rfind(L"Cannot open folder \"" + sub + L"\". ", 0), 0u) << Utf8(text);
  EXPECT_EQ(text.back(), L'.');
  EXPECT_TRUE(HasStopIcon(box));
  EXPECT_FALSE(IsWindowEnabled(FApp->MainWindow())) << "the report is modal";

  PostMessageW(MessageOkButton(box), WM_KEYDOWN, VK_ESCAPE, 0); // Esc closes it like OK
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActionTimeout));
  EXPECT_TRUE(IsWindowEnabled(FApp->MainWindow()));
  EXPECT_EQ(ListItems(list), rows) << "the list keeps its folder";
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(L"Limpar Log"))) << "the window goes on";
}

} // namespace

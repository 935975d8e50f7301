#include "tests/win/WinTestSupport.h"
#include "ui/ResourceIds.h"
#include "widgets/Dpi.h"
#include "widgets/Form.h"
#include <gtest/gtest.h>

TEST(FormIcon, TheIconResourceBecomesTheTitleBarAndTaskbarIcon) {
  TForm form;
  form.CreateForm(L"IconTestHost", L"icon", 200, 100, TFontSpec{});
  form.SetIcon(MAKEINTRESOURCEW(IDI_FORMICON));
  const auto big = SendMessageW(form.Handle(), WM_GETICON, ICON_BIG, 0);
  const auto small = SendMessageW(form.Handle(), WM_GETICON, ICON_SMALL, 0);
  ASSERT_NE(big, 0);
  ASSERT_NE(small, 0);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(small), &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  EXPECT_EQ(bitmap.bmWidth,
            MulDiv(GetSystemMetrics(SM_CXSMICON), DpiOf(form.Handle()), DpiOf(nullptr)));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

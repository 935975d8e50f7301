#include "widgets/pure/MessageBoxLayout.h"
#include <algorithm>

namespace {
// A 96-dpi length at the DPI, rounded to the nearest pixel as the shell's Scale (MulDiv) does.
int Scaled(int length, int dpi) {
  const long long product = static_cast<long long>(length) * dpi;
  return static_cast<int>((product >= 0 ? product + 48 : product - 48) / 96);
}
} // namespace

TMessageBoxLayout MessageBoxLayout(int textWidth, int textHeight, int iconSize, int dpi) {
  const int margin = Scaled(16, dpi);
  const int iconGap = iconSize ? Scaled(12, dpi) : 0;
  const int buttonWidth = Scaled(88, dpi), buttonHeight = Scaled(26, dpi);
  TMessageBoxLayout layout;
  if (iconSize) layout.Icon = {margin, margin, iconSize, iconSize};
  layout.Text = {margin + iconSize + iconGap, margin, std::max(textWidth, Scaled(120, dpi)),
                 std::max(textHeight, iconSize)};
  layout.ClientWidth =
      std::max(layout.Text.Left + layout.Text.Width + margin, buttonWidth + margin * 2);
  layout.ClientHeight = margin * 3 + layout.Text.Height + buttonHeight;
  layout.Button = {(layout.ClientWidth - buttonWidth) / 2,
                   layout.ClientHeight - margin - buttonHeight, buttonWidth, buttonHeight};
  return layout;
}

TPixelRect CentreInWorkArea(const TPixelRect& work, int width, int height) {
  return {work.Left + (work.Width - width) / 2, work.Top + (work.Height - height) / 2, width,
          height};
}

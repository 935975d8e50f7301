#include "widgets/pure/MessageBoxLayout.h"
#include "widgets/pure/DpiScale.h"
#include <algorithm>

TMessageBoxLayout MessageBoxLayout(int textWidth, int textHeight, int iconSize, int dpi) {
  const int margin = Scale(16, dpi);
  const int iconGap = iconSize ? Scale(12, dpi) : 0;
  const int buttonWidth = Scale(88, dpi), buttonHeight = Scale(26, dpi);
  TMessageBoxLayout layout;
  if (iconSize) layout.Icon = {margin, margin, iconSize, iconSize};
  layout.Text = {margin + iconSize + iconGap, margin, std::max(textWidth, Scale(120, dpi)),
                 std::max(textHeight, iconSize)};
  layout.ClientWidth =
      std::max(layout.Text.Left + layout.Text.Width + margin, buttonWidth + margin * 2);
  layout.ClientHeight = margin * 3 + layout.Text.Height + buttonHeight;
  layout.Button = {(layout.ClientWidth - buttonWidth) / 2,
                   layout.ClientHeight - margin - buttonHeight, buttonWidth, buttonHeight};
  return layout;
}

TBounds CentreInWorkArea(const TBounds& work, int width, int height) {
  return {work.Left + (work.Width - width) / 2, work.Top + (work.Height - height) / 2, width,
          height};
}

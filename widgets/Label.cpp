#include "widgets/Label.h"
#include "funcoes/Handles.h"
#include "widgets/Dpi.h"
#include "widgets/Style.h"

TWindowArgs TLabel::WindowArgs() const {
  // Owner-drawn so the text sits on the parent's gradient; the text stays the window text.
  return {L"STATIC", FCaption, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX};
}

void TLabel::SetCaption(const std::wstring& caption) {
  FCaption = caption;
  if (!Handle()) return;
  SetWindowTextW(Handle(), caption.c_str());
  AutoSize();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TLabel::ApplyDpi(int dpi) {
  TControl::ApplyDpi(dpi);
  AutoSize();
}

void TLabel::AutoSize() {
  if (!Handle()) return;
  SIZE size{};
  {
    TWindowDc dc(Handle());
    TSelectObject font(dc.Get(), FontHandle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    GetTextExtentPoint32W(dc.Get(), FCaption.c_str(), static_cast<int>(FCaption.size()), &size);
    size.cy = tm.tmHeight;
  }
  // The window gets the measured pixels; the 96-dpi bounds are kept for the next rescale.
  const RECT r = ScaledRect();
  SetWindowPos(Handle(), nullptr, r.left, r.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TLabel::OnParentNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  PaintParentBackground(item->hDC, item->rcItem);
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, FaceTextColour());
  TSelectObject font(item->hDC, FontHandle());
  RECT r = item->rcItem;
  DrawTextW(item->hDC, FCaption.c_str(), static_cast<int>(FCaption.size()), &r,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  result = TRUE;
  return true;
}

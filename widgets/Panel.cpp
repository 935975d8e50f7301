#include "widgets/Panel.h"
#include "widgets/Style.h"

TWindowArgs TPanel::WindowArgs() const {
  return {L"ReplimarPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
          WS_EX_CONTROLPARENT};
}

void TPanel::PaintBackground(HDC dc, const RECT& rect) {
  const TStyleSheet* style = StyleManager::Active();
  if (!style) {
    FillRect(dc, &rect, FaceBrush());
    return;
  }
  // The gradient spans the whole panel, whatever part is asked for.
  RECT client;
  GetClientRect(Handle(), &client);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  FillVerticalGradient(dc, client, Rgb(Header ? style->HeaderTop : style->PanelTop),
                       Rgb(Header ? style->HeaderBottom : style->PanelBottom));
  RestoreDC(dc, saved);
}

void TPanel::Paint(HDC dc, const RECT& client) {
  PaintBackground(dc, client);
  DrawRaisedEdge(dc, client);
}

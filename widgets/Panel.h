#pragma once
// A panel: holds widgets, shows no text, draws the one-pixel raised edge.
#include "widgets/Control.h"

class TPanel : public TOwnWindow {
public:
  // A header strip draws the style's header gradient instead of the panel face.
  bool Header = false;
  void PaintBackground(HDC dc, const RECT& rect) override;

protected:
  TWindowArgs WindowArgs() const override;
  void Paint(HDC dc, const RECT& client) override;
};

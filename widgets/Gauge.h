#pragma once
// A horizontal progress gauge with its percentage written across the bar.
#include "widgets/AccessibleOwner.h"
#include "widgets/Control.h"
#include <cstdint>

class TGauge : public TOwnWindow {
public:
  TGauge();
  ~TGauge() override;
  int32_t MinValue() const { return FMinValue; }
  int32_t MaxValue() const { return FMaxValue; }
  int32_t Progress() const { return FProgress; }
  // Clamped into MinValue..MaxValue; repaints only when the percentage changes.
  void SetProgress(int32_t value);
  // Raises "Value must be between %d and %d" below MinValue; lowers Progress when above.
  void SetMaxValue(int32_t value);
  int PercentDone() const;
  // Number of repaints asked for so far (the repaint rule is observable through it).
  int RepaintCount() const { return FRepaints; }

protected:
  TWindowArgs WindowArgs() const override;

  void Paint(HDC dc, const RECT& client) override;
  // Answers screen readers with the gauge's own accessible object (role progress bar).
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  void Repaint();

  int32_t FMinValue = 0;
  int32_t FMaxValue = 100;
  int32_t FProgress = 0;
  int FRepaints = 0;
  int FAnnounced = 0; // the percentage readers were last told of
  TAccessibleOwner FAccessible;
};

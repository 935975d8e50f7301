#include "widgets/Gauge.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include "widgets/GaugeAccessible.h"
#include "widgets/Style.h"
#include "widgets/pure/GaugeMath.h"
#include <climits>
#include <string>

TGauge::TGauge() : FAccessible([this] { return MakeAccessible<TGaugeAccessible>(Handle()); }) {}

TGauge::~TGauge() = default;

LRESULT TGauge::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT answer = 0;
  if (FAccessible.Answer(msg, wParam, lParam, answer)) return answer;
  return TOwnWindow::WndProc(msg, wParam, lParam);
}

TWindowArgs TGauge::WindowArgs() const {
  // The percentage is also the window text, for readers of the window tree.
  return {L"ReplimarGauge", L"0%", WS_CHILD | WS_VISIBLE};
}

int TGauge::PercentDone() const {
  return GaugePercent(FProgress, FMinValue, FMaxValue);
}

void TGauge::SetProgress(int32_t value) {
  value = GaugeClamp(value, FMinValue, FMaxValue);
  if (value == FProgress) return;
  const int before = PercentDone();
  FProgress = value;
  if (PercentDone() != before) Repaint();
}

void TGauge::SetMaxValue(int32_t value) {
  if (value == FMaxValue) return;
  if (value < FMinValue)
    throw EInvalidOperation(L"Value must be between " + std::to_wstring(FMinValue + 1) + L" and " +
                            std::to_wstring(INT_MAX));
  FMaxValue = value;
  if (FProgress > FMaxValue) FProgress = FMaxValue;
  Repaint();
}

void TGauge::Repaint() {
  ++FRepaints;
  if (!Handle()) return;
  SetWindowTextW(Handle(), (std::to_wstring(PercentDone()) + L"%").c_str());
  InvalidateRect(Handle(), nullptr, FALSE);
  if (PercentDone() != FAnnounced) {
    FAnnounced = PercentDone();
    TGaugeAccessible::NotifyValueChange(Handle());
  }
}

void TGauge::Paint(HDC target, const RECT& client) {
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  // Drawn off screen, then copied, so the bar never flickers.
  UniqueMemoryDc dc(CreateCompatibleDC(target));
  UniqueBitmap bitmap(CreateCompatibleBitmap(target, width, height));
  TSelectObject selectBitmap(dc.Get(), bitmap.Get());
  // Black on white; in high contrast the system's window text on its window colour.
  const bool system = StyleManager::HighContrast();
  HBRUSH ink = system ? GetSysColorBrush(COLOR_WINDOWTEXT)
                      : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  HBRUSH field =
      system ? GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  FillRect(dc.Get(), &client, ink);
  RECT inner{1, 1, width - 1, height - 1};
  FillRect(dc.Get(), &inner, field);
  const int percent = PercentDone();
  const int bar = GaugeBarWidth(percent, inner.right - inner.left);
  if (bar > 0) {
    RECT filled{inner.left, inner.top, inner.left + bar, inner.bottom};
    FillRect(dc.Get(), &filled, ink);
  }
  // The text inverts what lies beneath it: black on the field, white on the bar. It is drawn
  // white on black in a mask and XORed in, with an unsmoothed font so the inversion is clean.
  const std::wstring text = std::to_wstring(percent) + L"%";
  UniqueMemoryDc maskDc(CreateCompatibleDC(target));
  UniqueBitmap mask(CreateCompatibleBitmap(target, width, height));
  TSelectObject selectMask(maskDc.Get(), mask.Get());
  FillRect(maskDc.Get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(maskDc.Get(), TRANSPARENT);
  SetTextColor(maskDc.Get(), RGB(255, 255, 255));
  TSelectObject font(maskDc.Get(), CachedFont(Font(), Dpi(), false));
  DrawTextW(maskDc.Get(), text.c_str(), static_cast<int>(text.size()), &inner,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  BitBlt(dc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, SRCINVERT);
  BitBlt(target, 0, 0, width, height, dc.Get(), 0, 0, SRCCOPY);
}

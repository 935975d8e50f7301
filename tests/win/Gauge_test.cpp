// The progress gauge: its percentage and clamping, when it repaints, its range error, and
// what it paints.
#include "WinTestSupport.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Gauge.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

using wintest::Narrow;
using wintest::THostForm;

std::wstring WindowText(HWND window) {
  wchar_t buffer[64] = {};
  GetWindowTextW(window, buffer, 64);
  return buffer;
}

class GaugeTest : public ::testing::Test {
protected:
  void SetUp() override {
    FGauge.SetBounds({10, 10, 202, 30});
    FGauge.Create(FHost.Form());
  }
  THostForm FHost;
  TGauge FGauge;
};

TEST_F(GaugeTest, StartsEmptyWithTheDefaultRange) {
  EXPECT_EQ(FGauge.MinValue(), 0);
  EXPECT_EQ(FGauge.MaxValue(), 100);
  EXPECT_EQ(FGauge.Progress(), 0);
  EXPECT_EQ(WindowText(FGauge.Handle()), L"0%");
}

struct TPercentCase {
  int32_t Max;
  int32_t Progress;
  int32_t StoredProgress;
  const wchar_t* Shown;
};

class GaugePercentTest : public GaugeTest, public ::testing::WithParamInterface<TPercentCase> {};

TEST_P(GaugePercentTest, ShowsTheTruncatedPercentageOfTheClampedProgress) {
  const TPercentCase& c = GetParam();
  FGauge.SetMaxValue(c.Max);
  FGauge.SetProgress(c.Progress);
  EXPECT_EQ(FGauge.Progress(), c.StoredProgress);
  EXPECT_EQ(WindowText(FGauge.Handle()), c.Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GaugePercentTest,
    ::testing::Values(TPercentCase{3, 2, 2, L"66%"}, TPercentCase{200, 199, 199, L"99%"},
                      TPercentCase{100, 50, 50, L"50%"}, TPercentCase{1000, 9, 9, L"0%"},
                      TPercentCase{1000, 10, 10, L"1%"},
                      // Above the maximum: stored as the maximum, full.
                      TPercentCase{100, 150, 100, L"100%"}, TPercentCase{7, INT_MAX, 7, L"100%"},
                      // Below the minimum: stored as the minimum.
                      TPercentCase{100, -5, 0, L"0%"},
                      // A maximum of 0 shows 0 whatever the progress.
                      TPercentCase{0, 5, 0, L"0%"}, TPercentCase{0, 0, 0, L"0%"},
                      // No overflow near the top of the range.
                      TPercentCase{INT_MAX, INT_MAX - 1, INT_MAX - 1, L"99%"}));

TEST_F(GaugeTest, RepaintsOnlyWhenThePercentageChanges) {
  FGauge.SetMaxValue(1000);
  const int base = FGauge.RepaintCount();
  FGauge.SetProgress(5); // 0% still
  EXPECT_EQ(FGauge.RepaintCount(), base);
  FGauge.SetProgress(10); // 1%
  EXPECT_EQ(FGauge.RepaintCount(), base + 1);
  FGauge.SetProgress(19); // 1% still
  EXPECT_EQ(FGauge.RepaintCount(), base + 1);
  FGauge.SetProgress(19); // the same value
  EXPECT_EQ(FGauge.RepaintCount(), base + 1);
  FGauge.SetProgress(5000); // clamped to 1000: 100%
  EXPECT_EQ(FGauge.RepaintCount(), base + 2);
  FGauge.SetProgress(2000); // clamped to 1000 again: nothing
  EXPECT_EQ(FGauge.RepaintCount(), base + 2);
  EXPECT_EQ(WindowText(FGauge.Handle()), L"100%");
}

TEST_F(GaugeTest, ANewMaximumRepaintsAndTheSameOneDoesNothing) {
  FGauge.SetProgress(80);
  const int base = FGauge.RepaintCount();
  FGauge.SetMaxValue(100);
  EXPECT_EQ(FGauge.RepaintCount(), base);
  FGauge.SetMaxValue(50); // the progress is lowered to it
  EXPECT_EQ(FGauge.RepaintCount(), base + 1);
  EXPECT_EQ(FGauge.Progress(), 50);
  EXPECT_EQ(WindowText(FGauge.Handle()), L"100%");
  FGauge.SetMaxValue(400); // the progress stays 50
  EXPECT_EQ(FGauge.Progress(), 50);
  EXPECT_EQ(WindowText(FGauge.Handle()), L"12%");
}

TEST_F(GaugeTest, AMaximumBelowTheMinimumIsRefused) {
  FGauge.SetProgress(40);
  try {
    FGauge.SetMaxValue(-1);
    FAIL() << "no error raised";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Value must be between 1 and 2147483647") << Narrow(e.Message());
  }
  EXPECT_EQ(FGauge.MaxValue(), 100);
  EXPECT_EQ(FGauge.Progress(), 40);
  EXPECT_EQ(WindowText(FGauge.Handle()), L"40%");
  // The minimum itself is a valid maximum.
  EXPECT_NO_THROW(FGauge.SetMaxValue(0));
  EXPECT_EQ(FGauge.Progress(), 0);
}

// Painting, read back from the window's pixels.
class GaugePaintTest : public GaugeTest, public ::testing::WithParamInterface<int> {
protected:
  void SetUp() override {
    GaugeTest::SetUp();
    FHost.ShowPlain();
  }
  // Paints the gauge now and reads its client area.
  void Capture() {
    InvalidateRect(FGauge.Handle(), nullptr, FALSE);
    UpdateWindow(FGauge.Handle());
    GetClientRect(FGauge.Handle(), &FClient);
    const TWindowDc dc(FGauge.Handle());
    FPixels.assign(static_cast<size_t>(FClient.right * FClient.bottom), 0);
    for (int y = 0; y < FClient.bottom; ++y)
      for (int x = 0; x < FClient.right; ++x)
        FPixels[static_cast<size_t>(y * FClient.right + x)] = GetPixel(dc.Get(), x, y) & 0xFFFFFF;
  }
  COLORREF At(int x, int y) const { return FPixels[static_cast<size_t>(y * FClient.right + x)]; }
  int Count(COLORREF colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        n += At(x, y) == colour;
    return n;
  }
  RECT FClient{};
  std::vector<COLORREF> FPixels;
};

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

TEST_P(GaugePaintTest, FrameBarAndInvertedText) {
  const int percent = GetParam();
  FGauge.SetProgress(percent);
  Capture();
  const int width = FClient.right, height = FClient.bottom;
  ASSERT_GT(width, 40);
  ASSERT_GT(height, 16);

  // The one-pixel black frame.
  for (int x = 0; x < width; ++x) {
    EXPECT_EQ(At(x, 0), kBlack) << "top frame at " << x;
    EXPECT_EQ(At(x, height - 1), kBlack) << "bottom frame at " << x;
  }
  for (int y = 0; y < height; ++y) {
    EXPECT_EQ(At(0, y), kBlack) << "left frame at " << y;
    EXPECT_EQ(At(width - 1, y), kBlack) << "right frame at " << y;
  }

  // The first inner row lies above the text: black up to the bar's end, white after it.
  const int inner = width - 2;
  const int bar = std::min(percent * (inner + 1) / 100, inner);
  int firstWhite = -1, lastBlack = -1;
  for (int x = 1; x < width - 1; ++x) {
    if (At(x, 1) == kWhite && firstWhite < 0) firstWhite = x;
    if (At(x, 1) == kBlack) lastBlack = x;
  }
  EXPECT_EQ(lastBlack, bar > 0 ? bar : -1) << "bar end for " << percent << "%";
  EXPECT_EQ(firstWhite, bar < inner ? bar + 1 : -1) << "field start for " << percent << "%";
  EXPECT_EQ(Count(kBlack, 1, 1, width - 1, 2) + Count(kWhite, 1, 1, width - 1, 2), inner)
      << "only black and white";

  // The text sits in the middle band. Over the bar it is white, over the field black.
  const int midTop = height / 2 - 4, midBottom = height / 2 + 4;
  const int centre = width / 2;
  const int barRight = 1 + bar;
  if (barRight > centre - 20) {
    EXPECT_GT(
        Count(kWhite, std::max(1, centre - 20), midTop, std::min(barRight, centre + 20), midBottom),
        0)
        << "no white text over the bar at " << percent << "%";
  }
  if (barRight < centre + 20) {
    EXPECT_GT(Count(kBlack, std::max(barRight, centre - 20), midTop, centre + 20, midBottom), 0)
        << "no black text over the field at " << percent << "%";
  }
  // Far from the text the bar and the field are plain.
  EXPECT_EQ(Count(kWhite, 1, 1, std::min(barRight, 6), height - 1), 0);
  EXPECT_EQ(Count(kBlack, std::max(barRight, width - 7), 1, width - 1, height - 1), 0);
}

INSTANTIATE_TEST_SUITE_P(Percentages, GaugePaintTest, ::testing::Values(0, 1, 50, 66, 99, 100));

TEST_F(GaugePaintTest, HalfFullIsBlackOnTheLeftAndWhiteOnTheRight) {
  FGauge.SetProgress(50);
  Capture();
  const int width = FClient.right, height = FClient.bottom;
  // Outside the text band, the left half of the inner area is black and the right white.
  for (int y = 1; y < height / 2 - 8; ++y) {
    EXPECT_EQ(Count(kWhite, 1, y, width / 2, y + 1), 0) << "row " << y;
    EXPECT_EQ(Count(kBlack, width / 2 + 1, y, width - 1, y + 1), 0) << "row " << y;
  }
}

TEST_F(GaugePaintTest, AZeroMaximumPaintsNoBar) {
  FGauge.SetMaxValue(0);
  FGauge.SetProgress(5);
  Capture();
  const int width = FClient.right, height = FClient.bottom;
  EXPECT_EQ(Count(kBlack, 1, 1, width - 1, 3), 0);
  EXPECT_EQ(Count(kBlack, 1, height - 3, width - 1, height - 1), 0);
  // "0%" is still written, black on white.
  EXPECT_GT(Count(kBlack, width / 2 - 20, height / 2 - 4, width / 2 + 20, height / 2 + 4), 0);
}

// The window's own gauge: 958 pixels wide, 956 inside the frame. At every percentage the bar's
// right end, read from the pixels above the text, is at percent * 957 / 100 (the inner width plus
// one), and the percentages where percent * 956 / 100 would differ are among those painted.
TEST(RealGaugeBar, EndsWhereTheInnerWidthPlusOneSaysAtEveryPercentage) {
  THostForm host(1000, 100);
  TGauge gauge;
  gauge.SetBounds({1, 10, 958, 24});
  gauge.Create(host.Form());
  host.ShowPlain();
  RECT client{};
  GetClientRect(gauge.Handle(), &client);
  ASSERT_EQ(958, client.right) << "this test runs at 96 dpi";
  const int inner = client.right - 2;
  int differing = 0;
  for (int percent = 0; percent <= 100; ++percent) {
    gauge.SetProgress(percent);
    InvalidateRect(gauge.Handle(), nullptr, FALSE);
    UpdateWindow(gauge.Handle());
    const TWindowDc dc(gauge.Handle());
    int lastBlack = 0;
    for (int x = 1; x <= inner; ++x)
      if ((GetPixel(dc.Get(), x, 1) & 0xFFFFFF) == RGB(0, 0, 0)) lastBlack = x;
    const int expected = std::min(percent * (inner + 1) / 100, inner);
    EXPECT_EQ(expected, lastBlack) << percent << "%";
    if (percent < 100 && percent * inner / 100 != expected) ++differing;
  }
  EXPECT_GT(differing, 0) << "no percentage tells the two widths apart";
}

} // namespace

#include "widgets/pure/GaugeMath.h"
#include <algorithm>

int GaugePercent(int32_t progress, int32_t minValue, int32_t maxValue) {
  if (maxValue == minValue) return 0;
  const double percent = (static_cast<double>(progress) - minValue) * 100.0 /
                         (static_cast<double>(maxValue) - minValue);
  return static_cast<int>(percent); // truncates toward zero
}

int32_t GaugeClamp(int32_t progress, int32_t minValue, int32_t maxValue) {
  return std::clamp(progress, minValue, std::max(minValue, maxValue));
}

int GaugeBarWidth(int percent, int innerWidth) {
  if (innerWidth <= 0 || percent <= 0) return 0;
  const int width = static_cast<int>(static_cast<long long>(percent) * (innerWidth + 1) / 100);
  return std::min(width, innerWidth);
}

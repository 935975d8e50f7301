#pragma once
// Arithmetic of the progress gauge, kept apart from its drawing.
#include <cstdint>

// Trunc((progress - min) * 100 / (max - min)) in floating point; 0 when max equals min.
int GaugePercent(int32_t progress, int32_t minValue, int32_t maxValue);
// Progress clamped into min..max.
int32_t GaugeClamp(int32_t progress, int32_t minValue, int32_t maxValue);
// Right edge of the bar, in pixels from the inner left edge: Trunc(percent * (innerWidth + 1) /
// 100), never beyond the inner area.
int GaugeBarWidth(int percent, int innerWidth);

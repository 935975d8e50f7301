#pragma once
// The order a list box of a locale keeps its rows in (letter case ignored), made with one sort
// key per name: a comparison call per pair costs a big folder seconds. Runs on any thread.
#include <windows.h>
#include <string_view>
#include <vector>

// Sorts names as CompareString with NORM_IGNORECASE orders them in locale; equal names keep the
// order they came in.
void SortByKeys(std::vector<std::wstring_view>& names, LCID locale);

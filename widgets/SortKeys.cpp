#include "widgets/SortKeys.h"
#include <algorithm>
#include <string_view>
#include <utility>

// Sort keys order as CompareString does, and are made once per name (all in one buffer).
void SortByKeys(std::vector<std::wstring_view>& names, LCID locale) {
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  std::vector<char> keys;
  keys.reserve(names.size() * 32);
  std::vector<std::pair<size_t, size_t>> spans(names.size()); // offset and size in keys
  for (size_t i = 0; i < names.size(); ++i) {
    const std::wstring_view name = names[i];
    const int length = static_cast<int>(name.size());
    const size_t offset = keys.size();
    keys.resize(offset + 256);
    int size = LCMapStringW(locale, kFlags, name.data(), length,
                            reinterpret_cast<LPWSTR>(keys.data() + offset), 256);
    if (size == 0) {
      // A name whose key is longer than that: ask for its size (0 if it has none).
      const int needed = LCMapStringW(locale, kFlags, name.data(), length, nullptr, 0);
      keys.resize(offset + static_cast<size_t>(std::max(needed, 0)));
      size = needed > 0 ? LCMapStringW(locale, kFlags, name.data(), length,
                                       reinterpret_cast<LPWSTR>(keys.data() + offset), needed)
                        : 0;
    }
    keys.resize(offset + static_cast<size_t>(size));
    spans[i] = {offset, static_cast<size_t>(size)};
  }
  const auto key = [&](size_t i) {
    return std::string_view(keys.data() + spans[i].first, spans[i].second);
  };
  std::vector<size_t> order(names.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  std::vector<std::wstring_view> sorted;
  sorted.reserve(names.size());
  for (const size_t i : order)
    sorted.push_back(names[i]);
  names.swap(sorted);
}

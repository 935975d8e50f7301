#pragma once
// What the monitor remembers of the source tree between passes, and how it counts changes.
#include <cstdint>
#include <map>
#include <string>

struct TStandinStamp {
  bool Folder = false;
  uint64_t Size = 0;
  uint64_t WriteTime = 0; // FILETIME ticks
  bool operator==(const TStandinStamp&) const = default;
};

// Relative path (as listed, below the source folder) to its stamp; mirrored entries only.
using TStandinSnapshot = std::map<std::wstring, TStandinStamp>;

// Entries added, removed or changed from one snapshot to the next.
inline int64_t CountChanges(const TStandinSnapshot& before, const TStandinSnapshot& after) {
  int64_t changes = 0;
  auto b = before.begin();
  auto a = after.begin();
  while (b != before.end() || a != after.end()) {
    if (a == after.end() || (b != before.end() && b->first < a->first)) {
      ++changes; // removed
      ++b;
    } else if (b == before.end() || a->first < b->first) {
      ++changes; // added
      ++a;
    } else {
      if (!(a->second == b->second)) ++changes;
      ++a;
      ++b;
    }
  }
  return changes;
}

#pragma once
// The arguments the mirroring tool is meant to receive for prepared folders, as the tests and
// the fuzz target check the built command against them.
#include <string>
#include <vector>

inline std::vector<std::wstring> IntendedSyncArgs(const std::wstring& program,
                                                  const std::wstring& source,
                                                  const std::wstring& destination,
                                                  const std::wstring& logPath) {
  return {program,   source,    destination, L"/MIR", L"/R:0",     L"/W:0",
          L"/TEE",   L"/ETA",   L"/XA:SH",   L"/XD",  source + L"\\$RECYCLE.BIN",
          source + L"\\System Volume Information",      L"/LOG:" + logPath,
          L"/UNICODE", L"/MOT:2", L"/MON:1"};
}

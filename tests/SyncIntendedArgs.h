#pragma once
// The arguments the mirroring tool is meant to receive for prepared folders, as the tests and
// the fuzz target check the built command against them.
#include <string>
#include <vector>

// A drive root "X:" is meant to reach the tool as "X:\.", the root whatever its current folder.
inline std::wstring IntendedFolderArg(const std::wstring& folder) {
  const bool bareDrive =
      folder.size() == 2 && folder[1] == L':' &&
      ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z'));
  return bareDrive ? folder + L"\\." : folder;
}

inline std::vector<std::wstring> IntendedSyncArgs(const std::wstring& program,
                                                  const std::wstring& source,
                                                  const std::wstring& destination,
                                                  const std::wstring& logPath) {
  return {program,
          IntendedFolderArg(source),
          IntendedFolderArg(destination),
          L"/MIR",
          L"/R:0",
          L"/W:0",
          L"/TEE",
          L"/ETA",
          L"/XA:SH",
          L"/XD",
          source + L"\\$RECYCLE.BIN",
          source + L"\\System Volume Information",
          L"/LOG:" + logPath,
          L"/UNICODE",
          L"/MOT:2",
          L"/MON:1"};
}

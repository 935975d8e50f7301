// A pass of the log reader: only the bytes appended since the previous pass are read and fed to
// the follower. The log benchmark's baseline (ReplimarKORVELL-wholelog) is built with
// bench/WholeLogPass.cpp in place of this file.
#include "funcoes/Files.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/LogReader.h"
#include <windows.h>
#include <algorithm>

std::optional<TLogSummary> TLogReader::Pass() {
  DWORD error = ERROR_SUCCESS;
  const UniqueFileHandle file = Open(error);
  if (error != ERROR_SUCCESS)
    throw EFOpenError(L"Cannot open file \"" + FPath + L"\". " + SysErrorMessage(error));
  if (!file) {
    Restart();
    return std::nullopt;
  }
  LARGE_INTEGER sizeNow{};
  if (!GetFileSizeEx(file.Get(), &sizeNow)) {
    const DWORD failure = GetLastError();
    throw EInOutError(L"Cannot read file \"" + FPath + L"\". " + SysErrorMessage(failure));
  }
  const int64_t size = sizeNow.QuadPart;
  const int64_t seen = FFollower.BytesSeen();

  TLogResumeFacts facts{FIdentity, IdentityOf(file.Get()), size, seen};
  if (facts.Before && facts.Now && *facts.Before == *facts.Now && size >= seen) {
    if (!FHead.empty())
      facts.HeadSame = ReadAt(file.Get(), 0, static_cast<int64_t>(FHead.size())) == FHead;
    if (facts.HeadSame && !FTail.empty() && seen > static_cast<int64_t>(FHead.size()))
      facts.TailSame = ReadAt(file.Get(), seen - static_cast<int64_t>(FTail.size()),
                              static_cast<int64_t>(FTail.size())) == FTail;
  }
  if (MustRereadLog(facts)) Restart();
  FIdentity = facts.Now; // unknown: the next pass reads from the start again

  const std::string appended =
      ReadAt(file.Get(), FFollower.BytesSeen(), size - FFollower.BytesSeen());
  if (FHead.size() < kHeadSize)
    FHead.append(appended, 0, std::min(appended.size(), kHeadSize - FHead.size()));
  FTail += appended.size() >= kTailSize ? appended.substr(appended.size() - kTailSize) : appended;
  if (FTail.size() > kTailSize) FTail.erase(0, FTail.size() - kTailSize);
  FFollower.Feed(appended);
  return FFollower.Summary();
}

#include "ui/LogReader.h"
#include "funcoes/Files.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include <windows.h>
#include <algorithm>

std::optional<TLogIdentity> TLogReader::IdentityOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
  return TLogIdentity{info.dwVolumeSerialNumber,
                      (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

TLogReader::TLogReader(std::wstring path)
    : FPath(std::move(path)), FFollower(SystemAnsiDecoder()) {}

void TLogReader::Restart() {
  FFollower.Reset();
  FIdentity.reset();
  FHead.clear();
  FTail.clear();
}

UniqueFileHandle TLogReader::Open(DWORD& error) {
  error = ERROR_SUCCESS;
  if (!FileExists(FPath)) {
    FDeleted.reset();
    return {};
  }
  DWORD failure = ERROR_SUCCESS;
  UniqueFileHandle file = OpenSharedForReading(FPath, failure);
  if (!file) {
    // Windows refuses to open a file whose deletion is pending.
    if (failure == ERROR_DELETE_PENDING || (failure == ERROR_ACCESS_DENIED && FDeleted)) return {};
    error = failure;
    return {};
  }
  if (FDeleted) {
    TFileAtLogName now{IdentityOf(file.Get())};
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size)) now.Size = size.QuadPart;
    now.Head = ReadAt(file.Get(), 0, static_cast<int64_t>(FDeleted->Head.size()));
    if (IsLingeringDeletedLog(*FDeleted, now)) return {};
    FDeleted.reset(); // another file has taken the name
  }
  return file;
}

// Only the bytes appended since the previous pass are read and fed to the follower.
std::optional<TLogSummary> TLogReader::Pass() {
  DWORD error = ERROR_SUCCESS;
  const UniqueFileHandle file = Open(error);
  if (error != ERROR_SUCCESS) throw CannotOpenFile(FPath, error);
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

void TLogReader::NoteDeletion() {
  TDeletedLog deleted;
  UniqueFileHandle file(CreateFileW(FPath.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (file && GetFileSizeEx(file.Get(), &size)) {
    deleted.Identity = IdentityOf(file.Get());
    deleted.Size = size.QuadPart;
    deleted.Head = ReadAt(file.Get(), 0, static_cast<int64_t>(kHeadSize));
  }
  FDeleted = std::move(deleted);
  Restart();
}

int64_t TLogReader::CheckSize() {
  DWORD error = ERROR_SUCCESS;
  const UniqueFileHandle file = Open(error);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return 0;
  return size.QuadPart;
}

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
  UniqueFileHandle file(CreateFileW(FPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD failure = GetLastError();
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

void TLogReader::Deleted() {
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

int64_t TLogReader::CurrentSize() {
  DWORD error = ERROR_SUCCESS;
  const UniqueFileHandle file = Open(error);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return 0;
  return size.QuadPart;
}

#include "ui/LogReader.h"
#include "funcoes/Handles.h"
#include "ui/SyncTool.h"
#include <windows.h>
#include <algorithm>

namespace {
constexpr size_t kHeadSize = 4096;
constexpr DWORD kChunk = 1 << 20;

// Reads up to count bytes at offset; fewer when the file is shorter by now.
std::string ReadAt(HANDLE file, int64_t offset, int64_t count) {
  std::string bytes;
  LARGE_INTEGER position;
  position.QuadPart = offset;
  if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return bytes;
  while (count > 0) {
    const DWORD want = static_cast<DWORD>(std::min<int64_t>(count, kChunk));
    const size_t at = bytes.size();
    bytes.resize(at + want);
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + at, want, &got, nullptr)) got = 0;
    bytes.resize(at + got);
    if (got == 0) break;
    count -= got;
  }
  return bytes;
}
} // namespace

TLogReader::TLogReader(std::wstring path)
    : FPath(std::move(path)), FFollower(SystemAnsiDecoder()) {}

void TLogReader::Restart() {
  FFollower.Reset();
  FIdentity.reset();
  FHead.clear();
}

std::optional<TLogSummary> TLogReader::Pass() {
#ifdef REPLIMAR_WHOLE_LOG_READER
  // Benchmark baseline only (bench/, ReplimarKORVELL-wholelog): every pass reads the whole log.
  if (!FileExists(FPath)) return std::nullopt;
  return SummarizeLog(ReadWholeFile(FPath), SystemAnsiDecoder());
#else
  if (!FileExists(FPath)) {
    Restart();
    return std::nullopt;
  }
  UniqueFileHandle file = OpenForReading(FPath);
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(file.Get(), &info);
  const TIdentity identity{info.dwVolumeSerialNumber,
                           (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  const int64_t size =
      static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);

  bool restart = !FIdentity || !(*FIdentity == identity) || size < FFollower.BytesSeen();
  if (!restart && !FHead.empty())
    restart = ReadAt(file.Get(), 0, static_cast<int64_t>(FHead.size())) != FHead;
  if (restart) Restart();
  FIdentity = identity;

  const std::string appended = ReadAt(file.Get(), FFollower.BytesSeen(), size - FFollower.BytesSeen());
  if (FHead.size() < kHeadSize)
    FHead.append(appended, 0, std::min(appended.size(), kHeadSize - FHead.size()));
  FFollower.Feed(appended);
  return FFollower.Summary();
#endif
}

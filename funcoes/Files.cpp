#include "funcoes/Files.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include <algorithm>

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t FileSizeOf(const std::wstring& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                              data.nFileSizeLow);
}

UniqueFileHandle OpenForReading(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    throw EFOpenError(L"Cannot open file \"" + path + L"\". " + SysErrorMessage(error));
  }
  return file;
}

std::string ReadAt(HANDLE file, int64_t offset, int64_t count) {
  constexpr DWORD kChunk = 1 << 20;
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

std::string ReadWholeFile(const std::wstring& path) {
  UniqueFileHandle file = OpenForReading(path);
  LARGE_INTEGER size{};
  GetFileSizeEx(file.Get(), &size);
  return ReadAt(file.Get(), 0, size.QuadPart); // shorter if the tool cut the file meanwhile
}

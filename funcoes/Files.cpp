#include "funcoes/Files.h"
#include "funcoes/SystemText.h"
#include <algorithm>

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

UniqueFileHandle OpenSharedForReading(const std::wstring& path, DWORD& error) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  error = file ? ERROR_SUCCESS : GetLastError();
  return file;
}

EFOpenError CannotOpenFile(const std::wstring& path, DWORD error) {
  return EFOpenError(L"Cannot open file \"" + path + L"\". " + SysErrorMessage(error));
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

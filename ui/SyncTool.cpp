#include "ui/SyncTool.h"
#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/pure/SyncCommand.h"
#include <algorithm>
#include <string_view>

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (GetTempPathW(MAX_PATH + 1, buffer) == 0)
    throw EInOutError(L"Cannot find the temporary folder. " + SysErrorMessage(GetLastError()));
  const std::wstring folder = buffer; // up to the first NUL
  const auto unusable = [&](DWORD error) {
    return EInOutError(L"Cannot use the temporary folder \"" + folder + L"\". " +
                       SysErrorMessage(error));
  };
  // The system answers with TMP as set, whether or not it exists or can be written: without a
  // log the tool writes nothing the run could follow.
  if (!FolderExists(folder)) throw unusable(ERROR_PATH_NOT_FOUND);
  const std::wstring probe =
      folder + L"replimar-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  UniqueFileHandle written(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                       nullptr));
  if (!written) throw unusable(GetLastError());
  return folder;
}

DWORD StartSyncTool(const std::wstring& source, const std::wstring& destination,
                    const std::wstring& logPath, UniqueHandle& process) {
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return GetLastError();
  const std::wstring program = std::wstring(system) + L"\\" + kSyncProgram + L".exe";
  std::wstring commandLine = BuildSyncProcessCommandLine(program, source, destination, logPath);
  STARTUPINFOW startup{sizeof(startup)};
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info{};
  // The tool runs in the system folder so that it holds no folder of the operator's open.
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, nullptr, system, &startup,
                      &info))
    return GetLastError();
  process = UniqueHandle(info.hProcess);
  UniqueHandle thread(info.hThread);
  return 0;
}

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

TAnsiDecoder CodePageDecoder(UINT codePage) {
  TAnsiDecoder decoder;
  decoder.Decode = [codePage](std::string_view bytes) {
    std::wstring text;
    if (bytes.empty()) return text;
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    text.resize(static_cast<size_t>(size));
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        size);
    return text;
  };
  const UINT actual = codePage == CP_ACP ? GetACP() : codePage;
  CPINFO info{};
  if (actual == CP_UTF8) {
    // The lead-byte test says nothing about UTF-8: a character split between two reads would
    // become two replacement characters.
    decoder.IncompleteTail = [](std::string_view bytes) { return Utf8HeldBackTail(bytes); };
  } else if (GetCPInfo(actual, &info) && info.MaxCharSize > 1) {
    decoder.IncompleteTail = [actual](std::string_view bytes) -> size_t {
      // A lead byte of a double-byte code page whose trail byte has not arrived yet.
      size_t i = 0;
      while (i < bytes.size()) {
        if (IsDBCSLeadByteEx(actual, static_cast<BYTE>(bytes[i]))) {
          if (i + 1 >= bytes.size()) return 1;
          i += 2;
        } else {
          ++i;
        }
      }
      return 0;
    };
  }
  return decoder;
}

const TAnsiDecoder& SystemAnsiDecoder() {
  static const TAnsiDecoder decoder = CodePageDecoder(CP_ACP);
  return decoder;
}

std::wstring OemToDisplay(const std::wstring& line) {
  if (line.empty()) return line;
  std::string ansi = Encode(line, CP_ACP);
  OemToCharBuffA(ansi.data(), ansi.data(), static_cast<DWORD>(ansi.size()));
  return SystemAnsiDecoder().Decode(ansi);
}

#include "wine-standin/StandinLog.h"
#include "funcoes/SystemText.h"
#include "wine-standin/pure/StandinPaths.h"

namespace {
// How long a handle to the log is kept before it is reopened (see Reopen).
constexpr ULONGLONG kReopenMs = 250;
// Text kept for a log that cannot be opened at the moment, in characters.
constexpr size_t kHeldLimit = 1 << 20;

// The code page of an 8-bit log: 850 is the OEM code page of Portuguese systems.
UINT LogCodePage(TStandinLogEncoding encoding) {
  return encoding == TStandinLogEncoding::Oem850 ? 850 : CP_ACP;
}

bool IsUtf16(TStandinLogEncoding encoding) {
  return encoding == TStandinLogEncoding::Utf16WithMark ||
         encoding == TStandinLogEncoding::Utf16WithoutMark;
}

// The bytes of the text in the log or on the console: UTF-16LE (as wchar_t is on Windows) or
// the code page's.
std::string LogBytes(const std::wstring& text, bool unicode, UINT codePage) {
  if (unicode)
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  return Encode(text, codePage);
}
} // namespace

TStandinLog::TStandinLog(std::wstring logPath, const TStandinModes& modes, bool unicode, bool tee)
    : FPath(logPath.empty() ? std::wstring() : ExtendedLengthPath(logPath)), FModes(modes),
      FUnicode(unicode), FTee(tee) {
  if (!FPath.empty()) Open(CREATE_ALWAYS);
}

void TStandinLog::ToConsole(const std::wstring& text, bool unicode) {
  // The tool runs hidden and nobody may be reading its console: a failed write is no error.
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD written = 0;
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = LogBytes(text, unicode, CP_OEMCP);
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void TStandinLog::Write(const std::wstring& text) {
  if (FTee) ToConsole(text, FUnicode);
  if (FPath.empty()) return;
  if (FModes.Hold == TStandinLogHold::Reopen && GetTickCount64() - FOpenedAt >= kReopenMs)
    Reopen();
  else if (!FFile)
    Open(FBegun ? OPEN_ALWAYS : CREATE_ALWAYS);
  if (!FFile || !Append(text)) {
    FFile.Reset();
    Hold(text);
  }
}

const TStandinWords& TStandinLog::Words() const noexcept {
  return FModes.Encoding == TStandinLogEncoding::Oem850 ? PortugueseWords() : EnglishWords();
}

bool TStandinLog::WritesMark() const noexcept {
  return FModes.Encoding == TStandinLogEncoding::Utf16WithMark;
}

bool TStandinLog::Reopen() {
  if (FPath.empty() || FModes.Hold != TStandinLogHold::Reopen) return false;
  FFile.Reset();
  return Open(FBegun ? OPEN_ALWAYS : CREATE_ALWAYS);
}

bool TStandinLog::Open(DWORD disposition) {
  FOpenedAt = GetTickCount64();
  // The real tool shares its log for reading and writing only: a reader cannot delete it.
  const DWORD sharing = FModes.Hold == TStandinLogHold::Held
                            ? FILE_SHARE_READ | FILE_SHARE_WRITE
                            : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  UniqueFileHandle file(CreateFileW(FPath.c_str(), GENERIC_WRITE, sharing, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false; // held text waits for the next try
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return false;
  FFile = std::move(file);
  FBegun = true;
  const bool fresh = size.QuadPart == 0;
  std::wstring text = fresh && WritesMark() ? std::wstring(1, L'\xFEFF') : std::wstring();
  text += FHeld;
  FHeld.clear();
  if (!Append(text)) {
    FFile.Reset();
    Hold(text.substr(fresh && WritesMark() ? 1 : 0));
  }
  return fresh;
}

bool TStandinLog::Append(const std::wstring& text) {
  if (text.empty()) return true;
  const std::string bytes = LogBytes(text, IsUtf16(FModes.Encoding), LogCodePage(FModes.Encoding));
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(FFile.Get(), zero, nullptr, FILE_END)) return false;
  DWORD written = 0;
  return WriteFile(FFile.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) &&
         written == bytes.size();
}

void TStandinLog::Hold(const std::wstring& text) {
  if (FHeld.size() + text.size() <= kHeldLimit) FHeld += text;
}

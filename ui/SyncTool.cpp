#include "ui/SyncTool.h"
#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/pure/SyncCommand.h"

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

DWORD StartSyncTool(const std::wstring& arguments, UniqueHandle& process) {
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return GetLastError();
  const std::wstring program = std::wstring(system) + L"\\" + kSyncProgram + L".exe";
  std::wstring commandLine = BuildSyncProcessCommandLine(program, arguments);
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

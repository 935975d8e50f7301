#include "funcoes/ProcessTerminator.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/ProcessName.h"
#include <tlhelp32.h>
#include <algorithm>
#include <iterator>

int32_t TerminateProcessByName(const std::wstring& name) {
  int32_t result = 0;
  UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return result;

  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    const wchar_t* exe = entry.szExeFile;
    const std::wstring exeText(exe, std::find(exe, exe + std::size(entry.szExeFile), L'\0'));
    if (!ProcessNameMatches(exeText, name)) continue;
    // A process that cannot be opened counts as a failed request; the walk goes on.
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    result = process ? TerminateProcess(process.Get(), 0) : 0;
  }
  return result;
}

#pragma once
// What the mirror run needs from the system: the log's place, starting the mirroring tool,
// reading the log, and the display conversion of its last line.
#include "funcoes/Handles.h"
#include "ui/pure/LogText.h"
#include <windows.h>
#include <cstdint>
#include <string>

// The user's temporary folder (GetTempPathW). Raises EInOutError when there is none or it is
// not a folder.
std::wstring TempFolder();
// Starts the mirroring tool from the system folder (never from the current folder, which the
// lists move around), hidden, with the command line in UTF-16. Returns 0 and the tool's process
// handle in process (the run watches it for the tool's end), or the system's error code when it
// could not be started.
DWORD StartSyncTool(const std::wstring& source, const std::wstring& destination,
                    const std::wstring& logPath, UniqueHandle& process);
// True when a file (not a folder) exists at path, also one another process holds open.
bool FileExists(const std::wstring& path);
// Size of a file from the file itself (the folder's entry lags while another process writes
// it); 0 when it cannot be asked.
int64_t FileSizeOf(const std::wstring& fileName);
// Opens an existing file for reading, sharing read and write with the tool that writes it. A
// file that exists but cannot be opened raises EFOpenError "Cannot open file "%s". %s".
UniqueFileHandle OpenForReading(const std::wstring& path);
// Reads up to count bytes at offset, in chunks of 1 MiB; fewer when the file is shorter by now
// or a read fails.
std::string ReadAt(HANDLE file, int64_t offset, int64_t count);
// The whole file, opened for reading with read and write sharing. A file that exists but
// cannot be opened raises EFOpenError "Cannot open file "%s". %s".
std::string ReadWholeFile(const std::wstring& path);
// A code page as the log reader's decoder (MultiByteToWideChar), holding back the bytes of a
// character not yet complete: a DBCS lead byte, or an unfinished UTF-8 sequence for 65001.
TAnsiDecoder CodePageDecoder(UINT codePage);
// The system's ANSI code page as the log reader's decoder.
const TAnsiDecoder& SystemAnsiDecoder();
// The text through the ANSI code page, translated from the OEM code page, and back.
std::wstring OemToDisplay(const std::wstring& line);

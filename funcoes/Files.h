#pragma once
// File tests and reads that share the file with the process writing it (the mirroring tool
// and its log).
#include "funcoes/Handles.h"
#include <windows.h>
#include <cstdint>
#include <string>

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

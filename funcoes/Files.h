#pragma once
// File tests and reads that share the file with the process writing it (the mirroring tool
// and its log).
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include <windows.h>
#include <cstdint>
#include <string>

// True when a file (not a folder) exists at path, also one another process holds open.
bool FileExists(const std::wstring& path);
// Opens an existing file for reading, sharing read and write with the tool that writes it.
// Empty, with error set to the system's code, when it cannot be opened.
UniqueFileHandle OpenSharedForReading(const std::wstring& path, DWORD& error);
// What is raised for a file that exists but cannot be opened: EFOpenError
// "Cannot open file "%s". %s".
EFOpenError CannotOpenFile(const std::wstring& path, DWORD error);
// Reads up to count bytes at offset, in chunks of 1 MiB; fewer when the file is shorter by now
// or a read fails.
std::string ReadAt(HANDLE file, int64_t offset, int64_t count);

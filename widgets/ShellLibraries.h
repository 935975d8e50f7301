#pragma once
// The COM and shell functions of the folder dialog, from libraries loaded from the system folder
// on first use: loading them and starting COM would be among the costliest steps of a start, so
// the start-up does neither, and a program that never opens the dialog never pays for them.
#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

// COM for the window's thread (apartment-threaded), started once. Raises Exception when it
// cannot be had.
void EnsureComStarted();
HRESULT ShellCoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                              void** object);
void ShellCoTaskMemFree(void* memory);
HRESULT ShellCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID interfaceId,
                                       void** item);

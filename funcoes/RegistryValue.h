#pragma once
// The settings store: one named string value below the tool's key in the current user's
// registry, read, written or deleted by a Portuguese verb. Each call opens the key (creating
// it when missing) and closes it again; nothing is kept between calls.
#include <windows.h>
#include <string>

// The tool's key, absolute from the hive's root.
inline constexpr wchar_t kRegistryKeyPath[] = L"\\Software\\Zelvora\\REPLIMAR";

// verb "ler": the value's text (up to its first NUL; REG_EXPAND_SZ with its environment
//   references expanded), the empty text when it has no data bytes, valueOrDefault when it does
//   not exist or the key cannot be opened.
// verb "escrever": stores valueOrDefault as REG_SZ; returns "OK".
// verb "excluir": deletes the value, ignoring the outcome; returns "OK".
// Any other verb ("LER" included): opens and closes the key only; returns the empty text.
// Raises ERegistryException: "Invalid data type for '<name>'" (a non-string value with data),
// "Failed to get data for '<name>'", "Failed to set data for '<name>'".
std::wstring RegistryValue(const std::wstring& verb, const std::wstring& name,
                           const std::wstring& valueOrDefault);

// The same below any root and key path (a leading "\" allowed), so that tests can point it at
// a key that cannot be opened.
std::wstring RegistryValueAt(HKEY root, const std::wstring& keyPath, const std::wstring& verb,
                             const std::wstring& name, const std::wstring& valueOrDefault);

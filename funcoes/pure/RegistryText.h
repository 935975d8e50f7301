#pragma once
// The settings store's rules that need no registry: which operation a verb names, the key
// path as the registry takes it, the text in a value's data bytes, and the failure messages.
#include <cstddef>
#include <cstdint>
#include <string>

enum class TRegistryVerb { Read, Write, Delete, None };

// "ler", "escrever" and "excluir", compared code unit by code unit with regard to case;
// every other verb ("LER", "Ler", "") is None.
TRegistryVerb ParseRegistryVerb(const std::wstring& verb);

// A key path with its one leading "\" (absolute from the hive's root) dropped: the registry
// refuses a subkey that begins with "\".
std::wstring RelativeKeyPath(const std::wstring& path);

// The text in string data as the registry returns it (UTF-16, little endian): up to the first
// NUL, or to the end when there is none; an odd last byte is no code unit and is dropped.
std::wstring TextFromRegistryData(const std::uint8_t* data, std::size_t size);

enum class TRegistryFailure { InvalidDataType, GetData, SetData };

// "Invalid data type for '%s'", "Failed to get data for '%s'" or "Failed to set data for '%s'",
// %s being the value name as the caller gave it.
std::wstring RegistryFailureMessage(TRegistryFailure failure, const std::wstring& valueName);

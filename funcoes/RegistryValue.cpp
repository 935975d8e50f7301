#include "funcoes/RegistryValue.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/RegistryText.h"
#include <cstdint>
#include <vector>

namespace {

// A REG_EXPAND_SZ text with its environment references (%USERPROFILE%) filled in, as group
// policy deploys folders; a reference to no variable stays as written.
std::wstring ExpandReferences(const std::wstring& text) {
  std::wstring expanded(text.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (length == 0) return text;
    if (length <= expanded.size()) {
      expanded.resize(length - 1); // the count includes the terminating NUL
      return expanded;
    }
    expanded.resize(length);
  }
}

// The value's text; the default when it does not exist (or there is no key: the query fails
// on a null handle just the same).
std::wstring ReadValue(HKEY key, const std::wstring& name, const std::wstring& valueOrDefault) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return valueOrDefault;
  if (size == 0) return {};
  std::vector<std::uint8_t> data(size);
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
    throw ERegistryException(RegistryFailureMessage(TRegistryFailure::GetData, name));
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(RegistryFailureMessage(TRegistryFailure::InvalidDataType, name));
  std::wstring text = TextFromRegistryData(data.data(), size);
  return type == REG_EXPAND_SZ ? ExpandReferences(text) : text;
}

void WriteValue(HKEY key, const std::wstring& name, const std::wstring& text) {
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     bytes) != ERROR_SUCCESS)
    throw ERegistryException(RegistryFailureMessage(TRegistryFailure::SetData, name));
}

} // namespace

std::wstring RegistryValueAt(HKEY root, const std::wstring& keyPath, const std::wstring& verb,
                             const std::wstring& name, const std::wstring& valueOrDefault) {
  // A key that can be neither opened nor created is not an error in itself: each verb then
  // runs without one (read yields its default, write fails, delete answers "OK").
  UniqueHKey key;
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, RelativeKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &opened, nullptr) == ERROR_SUCCESS)
    key.Reset(opened);

  switch (ParseRegistryVerb(verb)) {
  case TRegistryVerb::Read:
    return ReadValue(key.Get(), name, valueOrDefault);
  case TRegistryVerb::Write:
    WriteValue(key.Get(), name, valueOrDefault);
    return L"OK";
  case TRegistryVerb::Delete:
    RegDeleteValueW(key.Get(), name.c_str());
    return L"OK";
  case TRegistryVerb::None:
    break;
  }
  return {};
}

std::wstring RegistryValue(const std::wstring& verb, const std::wstring& name,
                           const std::wstring& valueOrDefault) {
  return RegistryValueAt(HKEY_CURRENT_USER, kRegistryKeyPath, verb, name, valueOrDefault);
}

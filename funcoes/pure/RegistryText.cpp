#include "funcoes/pure/RegistryText.h"

TRegistryVerb ParseRegistryVerb(const std::wstring& verb) {
  if (verb == L"ler") return TRegistryVerb::Read;
  if (verb == L"escrever") return TRegistryVerb::Write;
  if (verb == L"excluir") return TRegistryVerb::Delete;
  return TRegistryVerb::None;
}

std::wstring RelativeKeyPath(const std::wstring& path) {
  if (!path.empty() && path.front() == L'\\') return path.substr(1);
  return path;
}

std::wstring TextFromRegistryData(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (unit == L'\0') break;
    text.push_back(unit);
  }
  return text;
}

std::wstring RegistryFailureMessage(TRegistryFailure failure, const std::wstring& valueName) {
  const wchar_t* lead = L"";
  switch (failure) {
  case TRegistryFailure::InvalidDataType:
    lead = L"Invalid data type for '";
    break;
  case TRegistryFailure::GetData:
    lead = L"Failed to get data for '";
    break;
  case TRegistryFailure::SetData:
    lead = L"Failed to set data for '";
    break;
  }
  return lead + valueName + L"'";
}

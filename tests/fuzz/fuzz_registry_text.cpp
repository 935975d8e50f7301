// The settings store's pure rules on arbitrary data: the text in a value's data bytes (up to the
// first NUL, an odd last byte dropped), the verb choice, the key path and the failure messages.
#include "fuzz/FuzzText.h"
#include "funcoes/pure/RegistryText.h"
#include <string>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = TextFromRegistryData(data, size);
  Require(text.size() <= size / 2);
  Require(text.find(L'\0') == std::wstring::npos);
  for (size_t i = 0; i < text.size(); ++i)
    Require(text[i] == static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8)));
  // The text stops only at a NUL unit or at the last whole unit.
  if (text.size() < size / 2) Require(data[2 * text.size()] == 0 && data[2 * text.size() + 1] == 0);
  // Stored back (text plus its NUL), it reads back the same.
  std::basic_string<uint8_t> stored;
  for (wchar_t unit : text) {
    stored.push_back(static_cast<uint8_t>(unit & 0xFF));
    stored.push_back(static_cast<uint8_t>((unit >> 8) & 0xFF));
  }
  stored.append(2, 0);
  Require(TextFromRegistryData(stored.data(), stored.size()) == text);
  Require(TextFromRegistryData(stored.data(), stored.size() - 2) == text);
  Require(TextFromRegistryData(data, 0).empty());

  const TRegistryVerb verb = ParseRegistryVerb(text);
  Require((verb == TRegistryVerb::Read) == (text == L"ler"));
  Require((verb == TRegistryVerb::Write) == (text == L"escrever"));
  Require((verb == TRegistryVerb::Delete) == (text == L"excluir"));

  const std::wstring relative = RelativeKeyPath(text);
  Require(relative == (!text.empty() && text[0] == L'\\' ? text.substr(1) : text));

  for (TRegistryFailure failure :
       {TRegistryFailure::InvalidDataType, TRegistryFailure::GetData, TRegistryFailure::SetData}) {
    const std::wstring message = RegistryFailureMessage(failure, text);
    Require(message.size() > text.size() + 2 && message.back() == L'\'');
    Require(message.compare(message.size() - 1 - text.size(), text.size(), text) == 0);
    Require(message[message.size() - 2 - text.size()] == L'\'');
  }
  return 0;
}

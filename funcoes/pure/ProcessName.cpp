#include "funcoes/pure/ProcessName.h"

std::wstring UpperAscii(const std::wstring& text) {
  std::wstring upper = text;
  for (wchar_t& c : upper)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return upper;
}

std::wstring ExecutableFilePart(const std::wstring& exeText) {
  const auto separator = exeText.find_last_of(L"\\:");
  if (separator == std::wstring::npos) return exeText;
  return exeText.substr(separator + 1);
}

bool ProcessNameMatches(const std::wstring& exeText, const std::wstring& name) {
  const std::wstring upperName = UpperAscii(name);
  return UpperAscii(ExecutableFilePart(exeText)) == upperName || UpperAscii(exeText) == upperName;
}

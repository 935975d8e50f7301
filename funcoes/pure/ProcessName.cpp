#include "funcoes/pure/ProcessName.h"
#include "funcoes/pure/LetterCase.h"

std::wstring ExecutableFilePart(const std::wstring& exeText) {
  const auto separator = exeText.find_last_of(L"\\:");
  if (separator == std::wstring::npos) return exeText;
  return exeText.substr(separator + 1);
}

bool ProcessNameMatches(const std::wstring& exeText, const std::wstring& name) {
  const std::wstring upperName = UpperAscii(name);
  return UpperAscii(ExecutableFilePart(exeText)) == upperName || UpperAscii(exeText) == upperName;
}

#pragma once
// Turning fuzz bytes into UTF-16 texts for the targets of the path and name rules: short texts
// made mostly of the characters those rules look at, with any code unit now and then.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

struct TReader {
  const uint8_t* Data;
  size_t Size;
  bool Empty() const { return Size == 0; }
  uint8_t Byte() {
    if (Size == 0) return 0;
    --Size;
    return *Data++;
  }
};

// One text of at most maxLength units: a length byte, then per unit either a character of the
// alphabet or, when the byte's high bit is set, any code unit from two more bytes.
inline std::wstring ReadText(TReader& in, const std::wstring& alphabet, size_t maxLength) {
  const size_t length = maxLength == 0 ? 0 : in.Byte() % (maxLength + 1);
  std::wstring text;
  for (size_t i = 0; i < length && !in.Empty(); ++i) {
    const uint8_t b = in.Byte();
    if (b & 0x80)
      text.push_back(static_cast<wchar_t>((in.Byte() << 8) | in.Byte()));
    else
      text.push_back(alphabet[b % alphabet.size()]);
  }
  return text;
}

inline void Require(bool condition) {
  if (!condition) abort();
}

} // namespace fuzz

// The whole-log reader on arbitrary bytes: no fault, and its results agree with each other, with
// UTF-8 decoded piece by piece, and with the C library's UTF-8 decoder on valid input.
#include "fuzz/SyncTestCodePages.h"
#include "ui/pure/LogText.h"
#include <cstdint>
#include <cstdlib>
#include <iconv.h>
#include <string>

namespace {

void Require(bool condition) {
  if (!condition) abort();
}

// UTF-16 code units of valid UTF-8 by iconv; false when iconv finds the bytes invalid.
bool IconvUtf8(std::string_view bytes, std::wstring& out) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  Require(cd != reinterpret_cast<iconv_t>(-1));
  std::string input(bytes);
  std::string output(input.size() * 4 + 4, '\0');
  char* in = input.data();
  size_t inLeft = input.size();
  char* outPtr = output.data();
  size_t outLeft = output.size();
  const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) return false;
  out.clear();
  AppendUtf16(std::string_view(output.data(), output.size() - outLeft), false, out);
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const TAnsiDecoder ansi = data[0] & 1 ? ToyDbcsDecoder() : Latin1Decoder();
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const TLogSummary summary = SummarizeLog(bytes, ansi);
  Require(summary.Encoding == DetectLogEncoding(bytes));
  const std::wstring text = DecodeLogText(bytes, ansi);
  const auto lines = SplitLogLines(text);
  Require(summary.HasLines == !lines.empty());
  Require(summary.HasLines == !text.empty());
  Require(summary.Marked >= 0 && static_cast<size_t>(summary.Marked) <= lines.size());
  Require(summary.LastLine.find_first_of(L"\r\n") == std::wstring::npos);
  size_t units = 0;
  for (const auto& line : lines) {
    Require(line.find_first_of(L"\r\n") == std::wstring::npos);
    units += line.size();
  }
  Require(units <= text.size());

  if (summary.Encoding == TLogEncoding::Utf8) {
    const std::string_view body = bytes.substr(3);
    // Piece by piece, carrying what a cut leaves unused, gives the same text.
    const size_t step = 1 + data[0] % 7;
    std::wstring pieces;
    std::string carry;
    for (size_t at = 0; at < body.size(); at += step) {
      carry.append(body.substr(at, step));
      carry.erase(0, AppendUtf8(carry, false, pieces));
      Require(carry.size() <= 3);
    }
    AppendUtf8(carry, true, pieces);
    Require(pieces == text);
    std::wstring reference;
    if (IconvUtf8(body, reference)) Require(reference == text);
  }
  return 0;
}

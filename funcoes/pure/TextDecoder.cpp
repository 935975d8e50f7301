#include "funcoes/pure/TextDecoder.h"
#include <cstdint>

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

void AppendCodePoint(uint32_t cp, std::wstring& out) {
  if (cp < 0x10000) {
    out.push_back(static_cast<wchar_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// What a UTF-8 lead byte announces: how many continuation bytes follow, and the range of the
// first of them (which excludes overlong forms, surrogates and code points above U+10FFFF);
// later ones are 80..BF. No continuation bytes for ASCII and for bytes that lead nothing.
struct TUtf8Lead {
  size_t Trail = 0;
  uint8_t Low = 0x80, High = 0xBF;
};

TUtf8Lead Utf8LeadOf(uint8_t lead) {
  TUtf8Lead form;
  if (lead >= 0xC2 && lead <= 0xDF) {
    form.Trail = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    form.Trail = 2;
    if (lead == 0xE0) form.Low = 0xA0;
    if (lead == 0xED) form.High = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    form.Trail = 3;
    if (lead == 0xF0) form.Low = 0x90;
    if (lead == 0xF4) form.High = 0x8F;
  }
  return form;
}

} // namespace

size_t AppendUtf8(std::string_view bytes, bool atEnd, std::wstring& out) {
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    const TUtf8Lead form = Utf8LeadOf(lead);
    if (form.Trail == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    uint32_t cp = lead & (0x3F >> form.Trail);
    size_t j = i + 1;
    bool valid = true;
    for (size_t k = 0; k < form.Trail; ++k, ++j) {
      if (j >= n) {
        if (!atEnd) return i;
        valid = false;
        break;
      }
      const auto next = static_cast<uint8_t>(bytes[j]);
      if (next < (k == 0 ? form.Low : 0x80) || next > (k == 0 ? form.High : 0xBF)) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (next & 0x3F);
    }
    if (valid)
      AppendCodePoint(cp, out);
    else
      out.push_back(kReplacement);
    i = j;
  }
  return n;
}

size_t AppendUtf16(std::string_view bytes, bool bigEndian, std::wstring& out) {
  const size_t used = bytes.size() & ~size_t{1};
  for (size_t i = 0; i < used; i += 2) {
    const auto first = static_cast<uint8_t>(bytes[i]);
    const auto second = static_cast<uint8_t>(bytes[i + 1]);
    out.push_back(static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return used;
}

size_t Utf8HeldBackTail(std::string_view bytes) {
  const auto length = [](uint8_t lead) -> size_t {
    return lead >= 0xC2 && lead <= 0xDF   ? 2
           : lead >= 0xE0 && lead <= 0xEF ? 3
           : lead >= 0xF0 && lead <= 0xF4 ? 4
                                          : 1;
  };
  // Moving the cut back to a lead can leave another lead before it reaching past the new cut.
  // Only garbage chains leads so; past kUtf8HeldBackLimit bytes the cut stays where it is.
  size_t cut = bytes.size();
  for (bool moved = true; moved && bytes.size() - cut < kUtf8HeldBackLimit;) {
    moved = false;
    for (size_t back = 3; back >= 1; --back) {
      if (back > cut) continue;
      if (length(static_cast<uint8_t>(bytes[cut - back])) > back) {
        cut -= back;
        moved = true;
        break;
      }
    }
  }
  return bytes.size() - cut;
}

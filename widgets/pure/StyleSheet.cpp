#include "widgets/pure/StyleSheet.h"
#include <utility>

namespace {
std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool ParseColour(std::string_view s, uint32_t& out) {
  if (s.size() != 7 || s[0] != '#') return false;
  uint32_t value = 0;
  for (char c : s.substr(1)) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  out = value;
  return true;
}
} // namespace

bool ParseStyleSheet(std::string_view text, TStyleSheet& sheet) {
  const std::pair<std::string_view, uint32_t TStyleSheet::*> keys[] = {
      {"Face", &TStyleSheet::Face},
      {"FaceText", &TStyleSheet::FaceText},
      {"PanelTop", &TStyleSheet::PanelTop},
      {"PanelBottom", &TStyleSheet::PanelBottom},
      {"EdgeLight", &TStyleSheet::EdgeLight},
      {"EdgeDark", &TStyleSheet::EdgeDark},
      {"HeaderTop", &TStyleSheet::HeaderTop},
      {"HeaderBottom", &TStyleSheet::HeaderBottom},
      {"ButtonTop", &TStyleSheet::ButtonTop},
      {"ButtonBottom", &TStyleSheet::ButtonBottom},
      {"ButtonGloss", &TStyleSheet::ButtonGloss},
      {"ButtonBorder", &TStyleSheet::ButtonBorder},
      {"ButtonText", &TStyleSheet::ButtonText},
      {"ButtonHotTop", &TStyleSheet::ButtonHotTop},
      {"ButtonHotBottom", &TStyleSheet::ButtonHotBottom},
      {"ButtonDownTop", &TStyleSheet::ButtonDownTop},
      {"ButtonDownBottom", &TStyleSheet::ButtonDownBottom},
      {"Selection", &TStyleSheet::Selection},
      {"SelectionText", &TStyleSheet::SelectionText},
      {"PaneBack", &TStyleSheet::PaneBack},
      {"PaneText", &TStyleSheet::PaneText},
      {"FocusRing", &TStyleSheet::FocusRing},
  };
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    if (key == "Name") {
      sheet.Name.assign(value.begin(), value.end()); // ASCII names only
      continue;
    }
    for (const auto& [name, member] : keys)
      if (key == name) ParseColour(value, sheet.*member);
  }
  return !sheet.Name.empty();
}

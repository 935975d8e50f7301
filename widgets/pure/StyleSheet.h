#pragma once
// The visual style as data: a small "Key=#RRGGBB" text carried by the program as a resource.
#include <cstdint>
#include <string>
#include <string_view>

// Colours as 0xRRGGBB.
struct TStyleSheet {
  std::wstring Name;
  uint32_t Face = 0xF0F0F0;        // window and panel face (the button-face colour)
  uint32_t FaceText = 0x000000;    // window text
  uint32_t PanelTop = 0xF0F0F0;    // panel gradient, top
  uint32_t PanelBottom = 0xF0F0F0; // panel gradient, bottom
  uint32_t EdgeLight = 0xFFFFFF;   // raised edge, top and left
  uint32_t EdgeDark = 0xA0A0A0;    // raised edge, bottom and right
  uint32_t HeaderTop = 0xF0F0F0;   // header strip gradient
  uint32_t HeaderBottom = 0xF0F0F0;
  uint32_t ButtonTop = 0xE0E0E0; // button gradient
  uint32_t ButtonBottom = 0xC0C0C0;
  uint32_t ButtonGloss = 0xFFFFFF; // the sheen on the upper half of a button
  uint32_t ButtonBorder = 0x707070;
  uint32_t ButtonText = 0x000000;
  uint32_t ButtonHotTop = 0xE8E8E8;
  uint32_t ButtonHotBottom = 0xD0D0D0;
  uint32_t ButtonDownTop = 0xB0B0B0;
  uint32_t ButtonDownBottom = 0xC8C8C8;
  uint32_t Selection = 0x3399FF; // highlighted row
  uint32_t SelectionText = 0xFFFFFF;
  uint32_t PaneBack = 0xFFFFFF; // log pane
  uint32_t PaneText = 0x000000;
  uint32_t FocusRing = 0x000000;
};

// Reads "Key=#RRGGBB" lines (and "Name=..."); blank lines and lines starting with ";" are
// skipped. Unknown keys are ignored; a malformed colour keeps the default. Returns false when
// the text holds no Name.
bool ParseStyleSheet(std::string_view text, TStyleSheet& sheet);

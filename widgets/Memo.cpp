#include "widgets/Memo.h"
#include "funcoes/Handles.h"
#include "widgets/NamedAccessible.h"
#include "widgets/Style.h"
#include <algorithm>

namespace {
// What a screen reader calls the pane (the system would take the status line before it).
constexpr wchar_t kAccessibleName[] = L"Log";
} // namespace

TMemo::TMemo()
    : FAccessible([this] { return MakeAccessible<TNamedAccessible>(Handle(), kAccessibleName); }) {}

TMemo::~TMemo() = default;

TWindowArgs TMemo::WindowArgs() const {
  return {L"EDIT", L"",
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
              ES_AUTOHSCROLL | ES_READONLY | ES_NOHIDESEL,
          WS_EX_CLIENTEDGE};
}

void TMemo::AfterCreate() {
  // No length limit beyond memory: the default of 32K characters would cut a long run short.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

static int TextLength(HWND edit) {
  return GetWindowTextLengthW(edit);
}

void TMemo::AddLine(const std::wstring& text) {
  const int end = TextLength(Handle());
  SendMessageW(Handle(), EM_SETSEL, end, end);
  const std::wstring line = text + L"\r\n";
  SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

int TMemo::LineCount() const {
  if (TextLength(Handle()) == 0) return 0;
  const int lines = static_cast<int>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
  // The text ends with a break, which the edit counts as one more, empty, line.
  const LRESULT lastStart = SendMessageW(Handle(), EM_LINEINDEX, lines - 1, 0);
  const bool endsWithBreak = SendMessageW(Handle(), EM_LINELENGTH, lastStart, 0) == 0;
  return endsWithBreak ? lines - 1 : lines;
}

std::wstring TMemo::Line(int index) const {
  const int start = static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, index, 0));
  if (start < 0) return {};
  const int length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
  // EM_GETLINE takes the buffer's size in its first word and copies without a NUL.
  std::wstring line(static_cast<size_t>(std::max(length, 1)), L'\0');
  line[0] = static_cast<wchar_t>(line.size());
  const LRESULT copied =
      SendMessageW(Handle(), EM_GETLINE, index, reinterpret_cast<LPARAM>(line.data()));
  line.resize(static_cast<size_t>(copied));
  return line;
}

void TMemo::ReplaceLine(int index, const std::wstring& text) {
  const int start = static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, index, 0));
  if (start < 0) return;
  const int length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
  SendMessageW(Handle(), EM_SETSEL, start, start + length);
  SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  // The caret goes back to the start of the empty line after the text, as after an append,
  // so scrolling to it shows the lines from their first column.
  const int end = TextLength(Handle());
  SendMessageW(Handle(), EM_SETSEL, end, end);
}

void TMemo::Clear() {
  SetWindowTextW(Handle(), L"");
}

std::wstring TMemo::Text() const {
  std::wstring text(static_cast<size_t>(TextLength(Handle())) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TMemo::ScrollCaret() {
  SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

bool TMemo::OnParentNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  // A read-only edit asks for its colours with WM_CTLCOLORSTATIC.
  const TStyleSheet* style = StyleManager::Active();
  if (!style || (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLOREDIT)) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkColor(dc, Rgb(style->PaneBack));
  SetTextColor(dc, Rgb(style->PaneText));
  result = reinterpret_cast<LRESULT>(SolidBrush(Rgb(style->PaneBack)));
  return true;
}

namespace {
bool ControlDown() {
  return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}
} // namespace

LRESULT TMemo::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT answer = 0;
  if (FAccessible.Answer(msg, wParam, lParam, answer)) return answer;
  switch (msg) {
  case WM_GETDLGCODE:
    // Arrows and characters, not all keys: Tab, Shift+Tab, Esc and Enter go to the window's
    // keyboard handling, which moves the focus or does nothing.
    return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
  case WM_KEYDOWN:
    if (ControlDown() && wParam == 'A') {
      SendMessageW(Handle(), EM_SETSEL, 0, -1);
      return 0;
    }
    if (ControlDown() && (wParam == 'C' || wParam == VK_INSERT)) {
      SendMessageW(Handle(), WM_COPY, 0, 0);
      return 0;
    }
    break;
  case WM_CHAR:
    // The characters Ctrl+A and Ctrl+C make; their keys were handled above.
    if (wParam == 0x01 || wParam == 0x03) return 0;
    break;
  case WM_NCPAINT: {
    const LRESULT result = DefaultProc(msg, wParam, lParam);
    PaintFocusEdge();
    return result;
  }
  case WM_SETFOCUS:
  case WM_KILLFOCUS: {
    const LRESULT result = DefaultProc(msg, wParam, lParam);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return result;
  }
  }
  return DefaultProc(msg, wParam, lParam);
}

void TMemo::PaintFocusEdge() {
  if (GetFocus() != Handle()) return;
  RECT window, client;
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  // The edge is what lies between the window's border and its client area (and scroll bar).
  const int edge = client.left - window.left;
  if (edge <= 0) return;
  const TWindowDc dc = TWindowDc::Whole(Handle());
  const RECT outer{0, 0, window.right - window.left, window.bottom - window.top};
  DrawFocusMark(dc.Get(), outer, Dpi());
  if (edge > 1) {
    RECT inner = outer;
    InflateRect(&inner, -1, -1);
    DrawFocusMark(dc.Get(), inner, Dpi());
  }
}

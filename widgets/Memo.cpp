#include "widgets/Memo.h"
#include <algorithm>
#include "widgets/Style.h"

HWND TMemo::CreateWnd(HWND parent, int id, const RECT& r) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                             ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY | ES_NOHIDESEL,
                         r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
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

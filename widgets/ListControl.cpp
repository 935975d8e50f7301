#include "widgets/ListControl.h"
#include "funcoes/Handles.h"
#include "widgets/Application.h"
#include "widgets/Background.h"
#include "widgets/Dpi.h"
#include "widgets/NamedAccessible.h"
#include "widgets/Style.h"
#include <algorithm>
#include <optional>

TListControl::TListControl()
    : FAccessible([this] {
        return FAccessibleName.empty()
                   ? TComPtr<TAccessibleBase>()
                   : MakeAccessible<TNamedAccessible>(Handle(), FAccessibleName);
      }) {}

TListControl::~TListControl() = default;

TWindowArgs TListControl::WindowArgs() const {
  return {L"LISTBOX", L"",
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
              LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT};
}

void TListControl::AfterCreate() {
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, Scale(kItemHeight, Dpi()));
}

void TListControl::RowsChanged() {
  // A read or a fill under way shows what no longer is.
  ++FReadGeneration;
  ++FFillGeneration;
  FReadLate = FFilling = false;
  if (!Handle()) return; // a list reads its folder when its window is made (AfterCreate)
  FRowsPending = true;
  if (IsWindowVisible(Handle())) ReadPendingRows();
}

// The one test of a waiting change: every way to a read comes here (a change on screen, a look
// at the rows, the form's show, a row opened).
void TListControl::ReadPendingRows() {
  if (!FRowsPending) return;
  // Cleared first: the list box requests of the read itself do not start another.
  FRowsPending = false;
  TRead read = PrepareRead();
  if (!read.Work) return;
  const unsigned generation = ++FReadGeneration;
  FReadLate = FFilling = false;
  const std::optional<TShowRows> show = Background::AskOrDeliver<TShowRows>(
      std::move(read.Work), read.WaitMs, [this, alive = Alive(), generation](TShowRows& late) {
        if (alive.expired() || generation != FReadGeneration) return;
        FReadLate = false;
        late();
      });
  if (show) return (*show)();
  FReadLate = true;
  if (read.Late) read.Late();
}

LCID TListControl::RowLocale() const {
  return static_cast<LCID>(SendMessageW(Handle(), LB_GETLOCALE, 0, 0));
}

// The rows still to be added, kept with what their texts point into.
struct TListControl::TFill {
  std::vector<std::wstring_view> Texts;
  std::shared_ptr<const void> Keep;
  int Selected;
  size_t Next = 0;
};

void TListControl::FillRows(std::vector<std::wstring_view> texts, int selected,
                            std::shared_ptr<const void> keep) {
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  size_t characters = 0;
  for (const std::wstring_view text : texts)
    characters += text.size() + 1;
  SendMessageW(Handle(), LB_INITSTORAGE, texts.size(), characters * sizeof(wchar_t));
  ++FFillGeneration; // an earlier fill's steps still to come add nothing
  AddRows(std::make_shared<TFill>(TFill{std::move(texts), std::move(keep), selected}));
}

void TListControl::AddRows(const std::shared_ptr<TFill>& fill) {
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  const size_t end = std::min(fill->Texts.size(), fill->Next + kRowsPerStep);
  // Each row goes to the end, where nothing has to move. Straight to the list box's own
  // procedure: the rows are being shown, so there is nothing for this list to catch up on, and a
  // message sent per row costs more.
  for (size_t i = fill->Next; i < end; ++i)
    DefaultProc(LB_INSERTSTRING, static_cast<WPARAM>(-1),
                reinterpret_cast<LPARAM>(fill->Texts[i].data()));
  if (fill->Selected >= static_cast<int>(fill->Next) && fill->Selected < static_cast<int>(end))
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(fill->Selected), 0);
  fill->Next = end;
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
  FFilling = end < fill->Texts.size();
  if (!FFilling) return;
  // The window answers between steps: a big folder's rows take longer to add than a wait the
  // operator notices.
  Background::Later([this, alive = Alive(), generation = FFillGeneration, fill] {
    if (!alive.expired() && generation == FFillGeneration) AddRows(fill);
  });
}

void TListControl::CatchUp() {
  TControl::CatchUp();
  ReadPendingRows();
}

namespace {
// Messages after which the rows must be those of the folder: the list box's own requests,
// painting, focus, input and accessibility.
bool LooksAtRows(UINT msg) {
  return (msg >= LB_ADDSTRING && msg <= LB_MSGMAX) || msg == WM_NCPAINT || msg == WM_ERASEBKGND ||
         msg == WM_PAINT || msg == WM_PRINTCLIENT || msg == WM_SETFOCUS || msg == WM_GETOBJECT ||
         (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST);
}
} // namespace

LRESULT TListControl::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (LooksAtRows(msg)) Application.Invoke([this] { ReadPendingRows(); });
  LRESULT answer = 0;
  if (FAccessible.Answer(msg, wParam, lParam, answer)) return answer;
  return DefaultProc(msg, wParam, lParam);
}

void TListControl::ApplyDpi(int dpi) {
  TControl::ApplyDpi(dpi);
  if (Handle()) SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
}

std::wstring TListControl::ItemText(int index) const {
  const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::vector<std::wstring> TListControl::Items() const {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    items.push_back(ItemText(i));
  return items;
}

int TListControl::ItemIndex() const {
  return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

bool TListControl::OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_CTLCOLORLISTBOX) {
    SetBkColor(reinterpret_cast<HDC>(wParam), FaceColour());
    result = reinterpret_cast<LRESULT>(FaceBrush());
    return true;
  }
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item.itemID == static_cast<UINT>(-1)) {
    // An empty list still shows that it has the focus.
    FillRect(item.hDC, &item.rcItem, FaceBrush());
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
      DrawFocusMark(item.hDC, item.rcItem, Dpi());
    result = TRUE;
    return true;
  }
  DrawRow(item, ItemText(static_cast<int>(item.itemID)));
  result = TRUE;
  return true;
}

void TListControl::DrawRow(const DRAWITEMSTRUCT& item, const std::wstring& text) {
  DrawRowText(item, text, Scale(2, Dpi()));
}

void TListControl::DrawRowText(const DRAWITEMSTRUCT& item, const std::wstring& text, int textLeft) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const TStyleSheet* style = StyleManager::Active();
  COLORREF back = FaceColour(), fore = FaceTextColour();
  if (selected) {
    back = style ? Rgb(style->Selection) : GetSysColor(COLOR_HIGHLIGHT);
    fore = style ? Rgb(style->SelectionText) : GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  RECT textRect = item.rcItem;
  textRect.left += textLeft;
  // The highlight covers the text, not the indentation before it.
  RECT highlight = textRect;
  highlight.left = std::max(item.rcItem.left, textRect.left - Scale(2, Dpi()));
  FillRect(item.hDC, &item.rcItem, FaceBrush());
  if (selected) FillRect(item.hDC, &highlight, SolidBrush(back));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, fore);
  TSelectObject font(item.hDC, FontHandle());
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
    DrawFocusMark(item.hDC, highlight, Dpi(), selected);
}

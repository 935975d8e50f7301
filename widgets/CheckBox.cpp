#include "widgets/CheckBox.h"

HWND TCheckBox::CreateWnd(HWND parent, int id, const RECT& r) {
  return CreateWindowExW(
      0, L"BUTTON", FCaption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, r.left,
      r.top, r.right - r.left, r.bottom - r.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

bool TCheckBox::Checked() const {
  return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

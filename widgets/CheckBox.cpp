#include "widgets/CheckBox.h"

TWindowArgs TCheckBox::WindowArgs() const {
  return {L"BUTTON", FCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX};
}

bool TCheckBox::Checked() const {
  return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

#include "widgets/AccessibleOwner.h"
#include "widgets/Accessible.h"
#include <utility>

TAccessibleOwner::TAccessibleOwner(std::function<TComPtr<TAccessibleBase>()> make)
    : FMake(std::move(make)) {}

TAccessibleOwner::~TAccessibleOwner() {
  // A reader may hold the object beyond the widget: it must no longer reach the window.
  Disconnect();
}

void TAccessibleOwner::Disconnect() noexcept {
  if (FObject) FObject->Disconnect();
}

bool TAccessibleOwner::Answer(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept {
  if (msg == WM_DESTROY) Disconnect();
  if (msg != WM_GETOBJECT || !AsksForClient(lParam)) return false;
  try {
    if (!FObject) FObject = FMake();
    if (!FObject) return false;
    result = AccessibleResult(FObject.Get(), wParam);
    return true;
  } catch (...) {
    return false; // without oleacc or COM the reader gets the system's plain object
  }
}

#pragma once
// The accessible object a widget hands to screen readers: made when a reader first asks for the
// window's client area, disconnected when the window is destroyed or the widget goes, whichever
// comes first (Accessible.h says why).
#include "widgets/ComPtr.h"
#include <windows.h>
#include <functional>

class TAccessibleBase;

class TAccessibleOwner {
public:
  // make gives the widget's object (MakeAccessible), or none for the system's own; it may raise.
  explicit TAccessibleOwner(std::function<TComPtr<TAccessibleBase>()> make);
  ~TAccessibleOwner();
  TAccessibleOwner(const TAccessibleOwner&) = delete;
  TAccessibleOwner& operator=(const TAccessibleOwner&) = delete;

  // For the widget's window procedure, before its own handling: answers WM_GETOBJECT for the
  // client area with the object (result set, true) and disconnects it at WM_DESTROY. False for
  // every other message, and when no object can be had (no oleacc or COM, or make gave none):
  // the message goes on to the system, whose own object then answers.
  bool Answer(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;

private:
  void Disconnect() noexcept;

  std::function<TComPtr<TAccessibleBase>()> FMake;
  TComPtr<TAccessibleBase> FObject;
};

#pragma once
// A screen reader's questions to an accessible object about itself (CHILDID_SELF): its role
// and the text of a BSTR getter (name, value), with the answer's result kept, for the
// widget tests and the end-to-end tests alike.
#include <windows.h>
#include <oleacc.h>
#include <string>

namespace accessibleask {

inline VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// The text a BSTR getter gives, or the failure.
struct TAnswer {
  HRESULT Result = E_FAIL;
  std::wstring Text;
};

inline TAnswer Ask(IAccessible* object,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, BSTR*)) {
  TAnswer answer;
  BSTR text = nullptr;
  answer.Result = (object->*getter)(Self(), &text);
  if (text) {
    answer.Text.assign(text, SysStringLen(text));
    SysFreeString(text);
  }
  return answer;
}

// The object's role, or -1 when it gives none.
inline long Role(IAccessible* object) {
  VARIANT role;
  VariantInit(&role);
  if (FAILED(object->get_accRole(Self(), &role)) || role.vt != VT_I4) return -1;
  return role.lVal;
}

} // namespace accessibleask

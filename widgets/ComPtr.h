#pragma once
// Owner of one COM interface pointer: released when the owner goes, never copied.
#include <utility>

template <typename T> class TComPtr {
public:
  TComPtr() = default;
  TComPtr(TComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      FPtr = std::exchange(other.FPtr, nullptr);
    }
    return *this;
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  ~TComPtr() { Reset(); }

  T* Get() const noexcept { return FPtr; }
  T* operator->() const noexcept { return FPtr; }
  explicit operator bool() const noexcept { return FPtr != nullptr; }
  // For APIs that hand the pointer back through an out-parameter.
  T** Put() noexcept {
    Reset();
    return &FPtr;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
  void Reset() noexcept {
    if (FPtr) std::exchange(FPtr, nullptr)->Release();
  }

private:
  T* FPtr = nullptr;
};

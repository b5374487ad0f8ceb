#pragma once
// COM on the Windows host: the interfaces it takes from the system (the imaging component
// for PNG files) are held by ComObject, which releases them, within a ComApartment, which
// joins the thread to COM for as long as they live.

#include <objbase.h>

namespace zav::win32 {

// One reference to a COM interface, released with the holder.
template <typename Interface>
class ComObject {
 public:
  ComObject() = default;
  ~ComObject() { Reset(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // Where a creating call puts the reference; any held before is released first.
  Interface** Out() {
    Reset();
    return &held_;
  }
  Interface* Get() const { return held_; }
  Interface* operator->() const { return held_; }
  explicit operator bool() const { return held_ != nullptr; }

 private:
  void Reset() {
    if (held_ != nullptr) {
      held_->Release();
      held_ = nullptr;
    }
  }

  Interface* held_ = nullptr;
};

// The calling thread in a single-threaded apartment while the object lives: the imaging
// component works in any apartment. A thread already in COM (even in another apartment)
// stays as it was; a join made here is undone here.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) {
      CoUninitialize();  // S_FALSE too: every successful call is matched
    }
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

}  // namespace zav::win32

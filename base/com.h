// COM for Lumaspan: one owner of an interface pointer and one owner of the calling thread's COM
// initialisation. Header only; a module that uses them links ole32.
#pragma once
#include <objbase.h>

namespace base {

// Owns one reference to a COM interface. Move-only: a copy would release the one reference twice.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  explicit ComPtr(T* p) noexcept : p_(p) {}  // takes over a reference already counted
  ComPtr(ComPtr&& other) noexcept : p_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // For the functions that return an interface through an out-parameter; releases the old one first.
  T** receive() noexcept {
    reset();
    return &p_;
  }
  void** receiveVoid() noexcept { return reinterpret_cast<void**>(receive()); }
  T* release() noexcept {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  void reset(T* p = nullptr) noexcept {
    if (p_) p_->Release();
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

// COM on the calling thread for the scope's lifetime, in the apartment model given. A thread that
// already has COM in another model keeps it (ok() is false then, and nothing is undone).
class ComScope {
 public:
  explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) noexcept : hr_(CoInitializeEx(nullptr, model)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool ok() const noexcept { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace base

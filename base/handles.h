// Scoped owners for the kernel, registry and module handles used across Lumaspan, so that an early
// return can never leak a handle. GDI objects have their own owners in ui/.
#pragma once
#include <windows.h>

namespace base {

// Owns one handle of a kind described by Traits: Traits::Invalid() and Traits::Close(h).
template <typename Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;
  Scoped() noexcept : h_(Traits::Invalid()) {}
  explicit Scoped(Handle h) noexcept : h_(h) {}
  Scoped(Scoped&& other) noexcept : h_(other.release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { reset(); }

  Handle get() const noexcept { return h_; }
  bool valid() const noexcept { return h_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return valid(); }
  // For APIs that return the handle through an out-parameter; closes the old one first.
  Handle* receive() noexcept {
    reset();
    return &h_;
  }
  Handle release() noexcept {
    Handle h = h_;
    h_ = Traits::Invalid();
    return h;
  }
  void reset(Handle h = Traits::Invalid()) noexcept {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_;
};

struct KernelHandleTraits {  // threads, events, processes, mutexes; invalid is null
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile results; invalid is INVALID_HANDLE_VALUE
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};

using UniqueHandle = Scoped<KernelHandleTraits>;
using UniqueFile = Scoped<FileHandleTraits>;
using UniqueFind = Scoped<FindHandleTraits>;
using UniqueKey = Scoped<RegKeyTraits>;
using UniqueModule = Scoped<ModuleTraits>;

}  // namespace base

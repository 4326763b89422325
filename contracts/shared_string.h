// A reference-counted UTF-16 string passed by value across module boundaries (the registry backup
// library's file names). Its one member points at a header on the process heap holding an
// interlocked count, the length and the characters; whichever module drops the last reference
// frees it from that same heap, so no module's allocator leaks into another.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cwchar>

class SharedString {
 public:
  SharedString() noexcept = default;  // null; reads as ""
  explicit SharedString(const wchar_t* text) noexcept : SharedString(text, text ? wcslen(text) : 0) {}
  SharedString(const wchar_t* text, size_t length) noexcept {
    if (!text || length > kMaxLength) return;
    void* block = HeapAlloc(GetProcessHeap(), 0, sizeof(Header) + length * sizeof(wchar_t));
    if (!block) return;  // out of memory: the string reads as ""
    data_ = static_cast<Header*>(block);
    data_->refs = 1;
    data_->length = static_cast<DWORD>(length);
    if (length) wmemcpy(data_->chars, text, length);
    data_->chars[length] = L'\0';
  }
  SharedString(const SharedString& other) noexcept : data_(other.data_) {
    if (data_) InterlockedIncrement(&data_->refs);
  }
  SharedString(SharedString&& other) noexcept : data_(other.data_) { other.data_ = nullptr; }
  SharedString& operator=(SharedString other) noexcept {
    Header* old = data_;
    data_ = other.data_;
    other.data_ = old;
    return *this;
  }
  ~SharedString() {
    if (data_ && InterlockedDecrement(&data_->refs) == 0) HeapFree(GetProcessHeap(), 0, data_);
  }

  const wchar_t* c_str() const noexcept { return data_ ? data_->chars : L""; }
  size_t length() const noexcept { return data_ ? data_->length : 0; }
  bool empty() const noexcept { return length() == 0; }
  long references() const noexcept { return data_ ? data_->refs : 0; }

 private:
  static constexpr size_t kMaxLength = 0x7FFFFFF;
  struct Header {
    volatile LONG refs;
    DWORD length;
    wchar_t chars[1];  // length + 1 characters, the last one the terminator
  };
  Header* data_ = nullptr;
};

static_assert(sizeof(SharedString) == sizeof(void*), "a SharedString is one pointer");

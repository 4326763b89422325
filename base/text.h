// Bounded text into caller-owned buffers. Every export writes its output through these, so a buffer
// is never overrun and is always left terminated.
#pragma once
#include <cstddef>
#include <cwchar>

namespace base {

// Length of s, looking at no more than max characters; a null s has length 0.
inline size_t LengthBounded(const wchar_t* s, size_t max) {
  if (!s) return 0;
  size_t n = 0;
  while (n < max && s[n] != L'\0') ++n;
  return n;
}

// Copies src (null reads as "") into dst of capacity characters, cutting it to fit; returns the
// number of characters copied. dst is always terminated when capacity > 0.
inline size_t CopyBounded(wchar_t* dst, size_t capacity, const wchar_t* src) {
  if (!dst || capacity == 0) return 0;
  size_t n = LengthBounded(src, capacity - 1);
  if (n) std::wmemcpy(dst, src, n);
  dst[n] = L'\0';
  return n;
}

// Appends src after the text already in dst (capacity characters in all), cutting it to fit.
// Returns the number of characters appended.
inline size_t AppendBounded(wchar_t* dst, size_t capacity, const wchar_t* src) {
  if (!dst || capacity == 0) return 0;
  size_t used = LengthBounded(dst, capacity);
  if (used == capacity) {  // not terminated inside its capacity: terminate, append nothing
    dst[capacity - 1] = L'\0';
    return 0;
  }
  return CopyBounded(dst + used, capacity - used, src);
}

}  // namespace base

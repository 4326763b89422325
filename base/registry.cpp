#include "base/registry.h"

#include <vector>

#include "base/text.h"

namespace base {
namespace {

// Validates raw value data as a string: the right type, whole characters, a terminator at the end.
// Returns the number of characters before the terminator, or -1.
long StringLength(DWORD type, const wchar_t* data, DWORD bytes) {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return -1;
  if (bytes == 0) return 0;  // an empty value reads as ""
  if (bytes % sizeof(wchar_t) != 0) return -1;
  DWORD chars = bytes / sizeof(wchar_t);
  if (data[chars - 1] != L'\0') return -1;
  return static_cast<long>(LengthBounded(data, chars));
}

}  // namespace

bool ReadRegistryString(HKEY key, const wchar_t* name, wchar_t* out, size_t capacity) {
  if (!out || capacity == 0) return false;
  out[0] = L'\0';
  if (!key) return false;
  if (capacity > 0x7FFFFFF) capacity = 0x7FFFFFF;
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
  LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes);
  if (rc != ERROR_SUCCESS || StringLength(type, out, bytes) < 0) {
    out[0] = L'\0';
    return false;
  }
  out[bytes ? bytes / sizeof(wchar_t) - 1 : 0] = L'\0';
  return true;
}

std::wstring ReadRegistryString(HKEY key, const wchar_t* name) {
  if (!key) return std::wstring();
  const DWORD kLimit = 1 << 20;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::wstring();
    if (bytes > kLimit) return std::wstring();
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;  // grew between the two queries
    if (rc != ERROR_SUCCESS) return std::wstring();
    long n = StringLength(type, buffer.data(), got);
    if (n < 0) return std::wstring();
    return std::wstring(buffer.data(), static_cast<size_t>(n));
  }
  return std::wstring();
}

bool WriteRegistryString(HKEY key, const wchar_t* name, const wchar_t* text) {
  if (!key) return false;
  if (!text) text = L"";
  size_t chars = wcslen(text);
  if (chars > 0x3FFFFFFF) return false;
  DWORD bytes = static_cast<DWORD>((chars + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}

}  // namespace base

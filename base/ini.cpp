#include "base/ini.h"

#include <cwchar>
#include <cwctype>
#include <vector>

#include "base/text.h"

namespace {

// One part of a colour is at most this many characters: longer digit runs would overflow the
// conversion, so the rest of a long part is ignored.
constexpr size_t kColorPartChars = 9;

}  // namespace

CIni::CIni(const wchar_t* path) { SetPathName(path); }

void CIni::SetPathName(const wchar_t* path) { path_ = path ? path : L""; }

std::wstring CIni::GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText) const {
  const wchar_t* fallback = defaultText ? defaultText : L"";
  if (!section || !key || path_.empty()) return fallback;
  // The profile function cannot tell how long a value is: read again with more room while the
  // value fills the buffer.
  std::vector<wchar_t> buffer(512);
  for (;;) {
    DWORD length = GetPrivateProfileStringW(section, key, fallback, buffer.data(),
                                            static_cast<DWORD>(buffer.size()), path_.c_str());
    if (length + 1 < buffer.size()) return std::wstring(buffer.data(), length);
    if (buffer.size() >= (1u << 24)) return std::wstring(buffer.data(), length);  // a sane ceiling
    buffer.resize(buffer.size() + 512);
  }
}

DWORD CIni::GetString(const wchar_t* section, const wchar_t* key, wchar_t* buffer, DWORD max,
                      const wchar_t* defaultText) const {
  if (!buffer || max == 0) return 0;
  std::wstring value = GetString(section, key, defaultText);
  return static_cast<DWORD>(base::CopyBounded(buffer, max, value.c_str()));
}

int CIni::GetInt(const wchar_t* section, const wchar_t* key, int defaultValue, int base) const {
  wchar_t text[65] = {};
  GetString(section, key, text, 65);
  if (!text[0]) return defaultValue;
  if (base != 2 && base != 8 && base != 16) base = 10;
  return static_cast<int>(std::wcstol(text, nullptr, base));
}

bool CIni::GetBool(const wchar_t* section, const wchar_t* key, bool defaultValue) const {
  wchar_t text[65] = {};
  GetString(section, key, text, 65);
  if (!text[0]) return defaultValue;
  if (_wcsicmp(text, L"true") == 0 || _wcsicmp(text, L"yes") == 0) return true;
  return std::wcstol(text, nullptr, 10) != 0;
}

COLORREF CIni::ParseColor(const wchar_t* text) {
  int parts[3] = {0, 0, 0};
  const wchar_t* p = text ? text : L"";
  for (int i = 0; i < 3 && *p; ++i) {
    const wchar_t* end = std::wcschr(p, L',');
    size_t length = end ? static_cast<size_t>(end - p) : std::wcslen(p);
    wchar_t part[kColorPartChars + 1] = {};
    std::wmemcpy(part, p, length < kColorPartChars ? length : kColorPartChars);
    parts[i] = _wtoi(part);
    if (!end) break;
    p = end + 1;
  }
  return RGB(parts[0] & 0xFF, parts[1] & 0xFF, parts[2] & 0xFF);
}

COLORREF CIni::GetColor(const wchar_t* section, const wchar_t* key, COLORREF defaultValue) const {
  std::wstring text = GetString(section, key);
  if (text.empty()) return defaultValue;
  return ParseColor(text.c_str());
}

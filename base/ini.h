// CIni: typed reads from one INI file (the skin's theme file). Every read goes to the file through
// the system's private-profile functions; nothing is cached, so a changed file is seen at once.
#pragma once
#include <windows.h>

#include <string>

class CIni {
 public:
  explicit CIni(const wchar_t* path = nullptr);
  virtual ~CIni() = default;
  CIni(const CIni&) = delete;
  CIni& operator=(const CIni&) = delete;

  // A null path empties the stored path (every read then gives its default).
  void SetPathName(const wchar_t* path);
  const wchar_t* GetPathName() const { return path_.c_str(); }

  // Copies the value (or the default, "" when none) into buffer, cut to fit and always terminated:
  // at most max - 1 characters and the terminator. Returns the number of characters copied.
  DWORD GetString(const wchar_t* section, const wchar_t* key, wchar_t* buffer, DWORD max,
                  const wchar_t* defaultText = nullptr) const;
  // The whole value, however long; the default when the file, section or key is missing.
  std::wstring GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText = nullptr) const;
  // base 2, 8 or 16; any other base reads decimal. An empty value gives the default.
  int GetInt(const wchar_t* section, const wchar_t* key, int defaultValue, int base = 10) const;
  // "true" or "yes" in any case, else a nonzero decimal number.
  bool GetBool(const wchar_t* section, const wchar_t* key, bool defaultValue) const;
  // "red,green,blue" in decimal as a COLORREF; each part masked to 8 bits, missing parts are 0.
  COLORREF GetColor(const wchar_t* section, const wchar_t* key, COLORREF defaultValue) const;

  // The colour of a "red,green,blue" text, as GetColor reads it.
  static COLORREF ParseColor(const wchar_t* text);

 private:
  std::wstring path_;
};

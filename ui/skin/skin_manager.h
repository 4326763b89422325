// CSkinManager: the one reader of the skin's theme file, "Res\Common\theme.ini" relative to the
// current directory (the program's folder). Created on first use, never destroyed.
#pragma once
#include <windows.h>

#include <cstddef>

#include "base/ini.h"

class CSkinManager {
 public:
  static constexpr size_t kPathChars = 260;

  static CSkinManager& GetInstance();

  COLORREF GetColor(const wchar_t* section, const wchar_t* key, COLORREF defaultValue) const;
  int GetInt(const wchar_t* section, const wchar_t* key, int defaultValue) const;
  bool GetBool(const wchar_t* section, const wchar_t* key, bool defaultValue) const;
  // "Res\Common\" followed by the key's value, into path (capacity characters). False with an
  // empty path when the key is missing or empty, or when the whole path would not fit.
  bool GetImagePath(const wchar_t* section, const wchar_t* key, wchar_t* path, size_t capacity = kPathChars) const;
  // Whether the key has a non-empty value.
  bool HasValue(const wchar_t* section, const wchar_t* key) const;
  // The skin's name; the program has one skin, so it stays empty.
  const wchar_t* GetSkinName() const { return L""; }

 private:
  CSkinManager();
  CIni ini_;
};

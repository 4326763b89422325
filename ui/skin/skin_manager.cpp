#include "ui/skin/skin_manager.h"

#include <string>

#include "base/text.h"

namespace {
const wchar_t kCommonFolder[] = L"Res\\Common";
}

CSkinManager& CSkinManager::GetInstance() {
  static CSkinManager manager;
  return manager;
}

CSkinManager::CSkinManager() { ini_.SetPathName((std::wstring(kCommonFolder) + L"\\theme.ini").c_str()); }

COLORREF CSkinManager::GetColor(const wchar_t* section, const wchar_t* key, COLORREF defaultValue) const {
  return ini_.GetColor(section, key, defaultValue);
}

int CSkinManager::GetInt(const wchar_t* section, const wchar_t* key, int defaultValue) const {
  return ini_.GetInt(section, key, defaultValue, 10);
}

bool CSkinManager::GetBool(const wchar_t* section, const wchar_t* key, bool defaultValue) const {
  return ini_.GetBool(section, key, defaultValue);
}

bool CSkinManager::HasValue(const wchar_t* section, const wchar_t* key) const {
  return !ini_.GetString(section, key).empty();
}

bool CSkinManager::GetImagePath(const wchar_t* section, const wchar_t* key, wchar_t* path, size_t capacity) const {
  if (!path || capacity == 0) return false;
  path[0] = L'\0';
  std::wstring value = ini_.GetString(section, key);
  if (value.empty()) return false;
  std::wstring full = std::wstring(kCommonFolder) + L"\\" + value;
  if (full.size() + 1 > capacity) return false;
  base::CopyBounded(path, capacity, full.c_str());
  return true;
}

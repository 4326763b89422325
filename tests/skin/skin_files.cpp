#include "tests/skin/skin_files.h"

#include <vector>

namespace skin_test {

bool WriteResource(const wchar_t* name, const std::wstring& path) {
  HRSRC resource = FindResourceW(nullptr, name, RT_RCDATA);
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(nullptr, resource);
  const char* bytes = static_cast<const char*>(LockResource(loaded));
  if (!bytes) return false;
  return test::WriteFile(path, std::string(bytes, SizeofResource(nullptr, resource)));
}

ThemeFolder::ThemeFolder() {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  previous_ = current;
  folder_.MakeFolder(L"Res\\Common");
  SetCurrentDirectoryW(folder_.path().c_str());
}

ThemeFolder::~ThemeFolder() { SetCurrentDirectoryW(previous_.c_str()); }

std::wstring ThemeFolder::Common(const std::wstring& name) const { return folder_ / (L"Res\\Common\\" + name); }

void ThemeFolder::WriteTheme(const std::string& text) { test::WriteFile(Common(L"theme.ini"), text); }

}  // namespace skin_test

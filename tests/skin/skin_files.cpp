#include "tests/skin/skin_files.h"

#include <vector>

namespace skin_test {

bool WriteBitmap(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& colour) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = stride * height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::vector<BYTE> bytes(file.bfSize);
  memcpy(bytes.data(), &file, sizeof(file));
  memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
  for (int y = 0; y < height; ++y) {
    BYTE* row = bytes.data() + file.bfOffBits + (height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      COLORREF c = colour(x, y);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
  return test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

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

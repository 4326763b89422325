#include "engines/bookvault/entries.h"

#include <windows.h>

#include <cwchar>

#include "base/handles.h"
#include "engines/common/tree_ops.h"

namespace bookvault {

std::wstring Join(const std::wstring& folder, const std::wstring& name) { return folder + L'\\' + name; }

std::wstring Leaf(const std::wstring& path) {
  size_t cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring Parent(const std::wstring& path) {
  size_t cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

bool ListEntries(const std::wstring& folder, std::vector<std::wstring>* entries) {
  entries->clear();
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW(Join(folder, L"*.*").c_str(), &found));
  if (!find) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  do {
    const wchar_t* name = found.cFileName;
    size_t length = std::wcslen(name);
    // A link may name any folder, a drive root included: it is no favorite of this folder.
    if (tree_ops::IsLink(found.dwFileAttributes)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) continue;
    } else if (length < 3 || _wcsicmp(name + length - 3, L"url") != 0) {
      continue;
    }
    std::wstring path = Join(folder, name);
    if (path.size() >= MAX_PATH) return false;
    entries->push_back(path);
  } while (FindNextFileW(find.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace bookvault

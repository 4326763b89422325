#include "engines/bookvault/file_ops.h"

#include <windows.h>

#include "base/handles.h"
#include "engines/bookvault/entries.h"
#include "engines/common/tree_ops.h"

namespace bookvault {

bool DeleteEntry(const std::wstring& path) { return tree_ops::RemoveTree(path); }

bool CopyInto(const std::wstring& entry, const std::wstring& folder) {
  if (!IsFolder(folder) || tree_ops::IsLinkPath(folder)) return false;
  return tree_ops::CopyTree(entry, Join(folder, Leaf(entry)));
}

bool MoveEntry(const std::wstring& from, const std::wstring& to) { return tree_ops::MoveTree(from, to); }

namespace {

// Every entry below a that stands the same below b, and how many there are.
bool Covers(const std::wstring& a, const std::wstring& b, size_t* count) {
  *count = 0;
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW(Join(a, L"*").c_str(), &found));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    ++*count;
    if (!SameEntry(Join(a, name), Join(b, name))) return false;
  } while (FindNextFileW(find.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace

bool SameEntry(const std::wstring& a, const std::wstring& b) {
  WIN32_FILE_ATTRIBUTE_DATA x, y;
  if (!GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &x) ||
      !GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &y))
    return false;
  if (tree_ops::IsLink(x.dwFileAttributes) || tree_ops::IsLink(y.dwFileAttributes)) return false;
  bool folder = (x.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder != ((y.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) return false;
  if (!folder)
    return x.nFileSizeHigh == y.nFileSizeHigh && x.nFileSizeLow == y.nFileSizeLow &&
           CompareFileTime(&x.ftLastWriteTime, &y.ftLastWriteTime) == 0;
  size_t inA = 0, inB = 0;
  return Covers(a, b, &inA) && Covers(b, a, &inB) && inA == inB;
}

bool FreshFolder(const std::wstring& path) {
  if (Exists(path) && !DeleteEntry(path)) return false;
  return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

}  // namespace bookvault

#include "engines/common/tree_ops.h"

#include "base/handles.h"

namespace tree_ops {
namespace {

std::wstring Join(const std::wstring& folder, const std::wstring& name) { return folder + L'\\' + name; }

bool IsDots(const wchar_t* name) { return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])); }

// The length of the longest path at or below path, links counted but not entered; 0 when the tree
// cannot be read to the end.
size_t LongestPath(const std::wstring& path) {
  size_t longest = path.size();
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsLink(attributes)) return longest;
  if (path.size() + 2 >= MAX_PATH) return MAX_PATH;  // its pattern would not fit
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW(Join(path, L"*").c_str(), &found));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND ? longest : 0;
  do {
    if (IsDots(found.cFileName)) continue;
    size_t below = LongestPath(Join(path, found.cFileName));
    if (below == 0) return 0;
    if (below > longest) longest = below;
  } while (FindNextFileW(find.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES ? longest : 0;
}

// A tree whose every path, also under a new root of newRootLength characters, stays below MAX_PATH.
bool Fits(const std::wstring& root, size_t newRootLength) {
  size_t longest = LongestPath(root);
  return longest != 0 && longest - root.size() + newRootLength < MAX_PATH;
}

bool RemoveOne(const std::wstring& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (RemoveDirectoryW(path.c_str())) return true;
    // A link to a folder may be a file-type link to the system (a symbolic link made on a host).
    return IsLink(attributes) && DeleteFileW(path.c_str());
  }
  return DeleteFileW(path.c_str()) != 0;
}

bool RemoveBelow(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(attributes)) {
    WIN32_FIND_DATAW found;
    base::UniqueFind find(FindFirstFileW(Join(path, L"*").c_str(), &found));
    bool all = true;
    if (find) {
      do {
        if (IsDots(found.cFileName)) continue;
        all = RemoveBelow(Join(path, found.cFileName)) && all;
      } while (FindNextFileW(find.get(), &found));
    }
    if (!all) return false;
  }
  return RemoveOne(path, attributes);
}

bool CopyBelow(const std::wstring& from, const std::wstring& to) {
  DWORD attributes = GetFileAttributesW(from.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || IsLink(attributes)) return false;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return CopyFileW(from.c_str(), to.c_str(), TRUE) != 0;
  if (!CreateDirectoryW(to.c_str(), nullptr)) return false;
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW(Join(from, L"*").c_str(), &found));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    // Links are left out, whatever they point at.
    if (IsDots(found.cFileName) || IsLink(found.dwFileAttributes)) continue;
    if (!CopyBelow(Join(from, found.cFileName), Join(to, found.cFileName))) return false;
  } while (FindNextFileW(find.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

// Copies into original whatever of copy is missing there; true when original is whole again.
bool CompleteFrom(const std::wstring& copy, const std::wstring& original) {
  DWORD there = GetFileAttributesW(original.c_str());
  if (there == INVALID_FILE_ATTRIBUTES) return CopyBelow(copy, original);
  if (!(there & FILE_ATTRIBUTE_DIRECTORY) || IsLink(there)) return true;
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW(Join(copy, L"*").c_str(), &found));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
  bool all = true;
  do {
    if (IsDots(found.cFileName)) continue;
    all = CompleteFrom(Join(copy, found.cFileName), Join(original, found.cFileName)) && all;
  } while (FindNextFileW(find.get(), &found));
  return all;
}

}  // namespace

bool IsLinkPath(const std::wstring& path) { return IsLink(GetFileAttributesW(path.c_str())); }

bool RemoveTree(const std::wstring& path) {
  if (path.empty() || path.size() >= MAX_PATH) return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return RemoveBelow(path);
  if (!Fits(path, path.size())) return false;
  return RemoveBelow(path) && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
  if (from.empty() || to.empty() || from.size() >= MAX_PATH || to.size() >= MAX_PATH) return false;
  if (IsLinkPath(from) || GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  if (!Fits(from, to.size())) return false;
  if (CopyBelow(from, to)) return true;
  RemoveTree(to);  // what was made here, into a free path, is ours
  return false;
}

bool MoveTree(const std::wstring& from, const std::wstring& to) {
  if (from.empty() || to.empty() || from.size() >= MAX_PATH || to.size() >= MAX_PATH) return false;
  // Where a link's move moves its target instead (seen with host links under Wine), moving it
  // would carry off what it points at: a link is not moved at all.
  if (IsLinkPath(from) || GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  if (!CopyTree(from, to)) return false;
  if (RemoveTree(from)) return true;
  // Part of the original could not be removed (a file in use): it is completed again from the
  // copy, which is dropped only when the original is whole.
  if (CompleteFrom(to, from)) RemoveTree(to);
  return false;
}

}  // namespace tree_ops

#include "engines/bookvault/file_ops.h"

#include <windows.h>
#include <shellapi.h>

#include "base/handles.h"
#include "engines/bookvault/entries.h"

namespace bookvault {
namespace {

constexpr FILEOP_FLAGS kQuietly = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;

bool RunShellOperation(UINT function, const std::wstring& from, const std::wstring& to) {
  if (from.size() >= MAX_PATH || to.size() >= MAX_PATH) return false;
  std::wstring source = from + L'\0';  // the shell reads lists ending in two zeros
  std::wstring destination = to + L'\0';
  SHFILEOPSTRUCTW operation = {};
  operation.hwnd = GetActiveWindow();
  operation.wFunc = function;
  operation.pFrom = source.c_str();
  operation.pTo = to.empty() ? nullptr : destination.c_str();
  operation.fFlags = kQuietly;
  return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

// True when copy holds everything original holds: the same kind of entry, files of the same size.
bool SameTree(const std::wstring& original, const std::wstring& copy) {
  WIN32_FILE_ATTRIBUTE_DATA a, b;
  if (!GetFileAttributesExW(original.c_str(), GetFileExInfoStandard, &a) ||
      !GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &b))
    return false;
  bool folder = (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder != ((b.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) return false;
  if (!folder) return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow;
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW(Join(original, L"*").c_str(), &found));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (!SameTree(Join(original, name), Join(copy, name))) return false;
  } while (FindNextFileW(find.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace

bool DeleteEntry(const std::wstring& path) {
  RunShellOperation(FO_DELETE, path, std::wstring());
  return !Exists(path);
}

bool CopyInto(const std::wstring& entry, const std::wstring& folder) {
  // Into a folder that does not exist the shell would copy under the folder's name instead.
  if (!IsFolder(folder)) return false;
  bool copied = RunShellOperation(FO_COPY, entry, folder);
  return copied && SameTree(entry, Join(folder, Leaf(entry)));
}

bool MoveEntry(const std::wstring& from, const std::wstring& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  // Another volume: copy, check, and only then remove the original.
  if (!CopyInto(from, Parent(to))) {
    DeleteEntry(to);
    return false;
  }
  if (DeleteEntry(from)) return true;
  // Part of the original could not be removed: complete it again from the copy, and drop the copy
  // only when the original is whole.
  if (CopyInto(to, Parent(from))) DeleteEntry(to);
  return false;
}

bool FreshFolder(const std::wstring& path) {
  if (Exists(path) && !DeleteEntry(path)) return false;
  return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

}  // namespace bookvault

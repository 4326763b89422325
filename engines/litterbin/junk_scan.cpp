#include "engines/litterbin/junk_scan.h"

#include <shlobj.h>

#include <cwchar>

#include "base/text.h"
#include "engines/common/folder_walk.h"
#include "engines/common/shell_folders.h"

namespace litterbin {
namespace {

bool EndsWith(const wchar_t* name, size_t length, const wchar_t* suffix, size_t suffixLength) {
  return length >= suffixLength && wmemcmp(name + length - suffixLength, suffix, suffixLength) == 0;
}

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// "X:\" at the start of text.
bool BeginsWithDriveRoot(const wchar_t* text, size_t length) {
  return length >= 3 && IsDriveLetter(text[0]) && text[1] == L':' && text[2] == L'\\';
}

}  // namespace

bool IsJunkName(const wchar_t* name, size_t length) {
  // A name that passes two tests ("~$a.tmp") is still one junk file, reported once.
  return EndsWith(name, length, L".old", 4) || EndsWith(name, length, L".~de", 4) ||
         EndsWith(name, length, L".tmp", 4) || EndsWith(name, length, L".tmpl", 5) ||
         (length >= 2 && name[0] == L'~' && name[1] == L'$');
}

bool SystemDriveRoot(std::wstring* root) {
  std::wstring favorites;
  if (SUCCEEDED(cleaning::ShellFolderPath(CSIDL_FAVORITES, &favorites)) &&
      BeginsWithDriveRoot(favorites.c_str(), favorites.size())) {
    *root = favorites.substr(0, 3);
    return true;
  }
  // No Favorites folder, or one on a network share: Windows' own drive is then the one that must
  // not be walked for junk patterns.
  wchar_t windows[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length < MAX_PATH && BeginsWithDriveRoot(windows, length)) {
    root->assign(windows, 3);
    return true;
  }
  return false;
}

bool SameDrive(const std::wstring& a, const std::wstring& b) {
  return a.size() == 3 && b.size() == 3 && BeginsWithDriveRoot(a.c_str(), 3) && BeginsWithDriveRoot(b.c_str(), 3) &&
         towupper(a[0]) == towupper(b[0]);
}

LONG ScanDrive(cleaning::Reporter& reporter, const wchar_t* drive) {
  std::wstring root(drive ? drive : L"", base::LengthBounded(drive, 4));
  if (root.size() != 3 || !BeginsWithDriveRoot(root.c_str(), 3)) return ERROR_INVALID_PARAMETER;
  std::wstring system;
  if (!SystemDriveRoot(&system)) return ERROR_PATH_NOT_FOUND;
  if (!SameDrive(root, system)) {
    cleaning::FolderWalk(reporter, IsJunkName).Walk(root);
    return ERROR_SUCCESS;
  }
  cleaning::FolderWalk walk(reporter);
  std::wstring folder;
  if (SUCCEEDED(cleaning::ShellFolderPath(CSIDL_INTERNET_CACHE, &folder)) && !walk.Walk(folder)) return ERROR_SUCCESS;
  if (SUCCEEDED(cleaning::ShellFolderPath(CSIDL_WINDOWS, &folder)) && !walk.Walk(folder + L"\\Prefetch")) {
    return ERROR_SUCCESS;
  }
  if (SUCCEEDED(cleaning::TemporaryFolder(&folder)) && !walk.Walk(folder)) return ERROR_SUCCESS;
  if (SUCCEEDED(cleaning::ShellFolderPath(CSIDL_RECENT, &folder))) walk.Walk(folder);
  return ERROR_SUCCESS;
}

}  // namespace litterbin

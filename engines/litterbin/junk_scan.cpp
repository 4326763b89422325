#include "engines/litterbin/junk_scan.h"

#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "base/text.h"
#include "engines/common/folder_walk.h"
#include "engines/common/path_guard.h"
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

// The letters (upper case) of the system drives: the Windows folder's and the Favorites folder's,
// both in canonical form, so that an alias of either names the drive it stands for. Empty when the
// Windows folder is unknown.
std::wstring SystemDrives(const cleaning::PathGuard& guard) {
  std::wstring letters;
  if (guard.windows().empty() || guard.windows()[1] != L':') return letters;
  letters.push_back(guard.windows()[0]);
  std::wstring favorites, canonical;
  if (SUCCEEDED(cleaning::ShellFolderPath(CSIDL_FAVORITES, &favorites)) &&
      cleaning::CanonicalPath(favorites, &canonical) && canonical[1] == L':' && canonical[0] != letters[0]) {
    letters.push_back(canonical[0]);
  }
  return letters;
}

bool OnSystemDrive(const std::wstring& canonical, const std::wstring& systemDrives) {
  return canonical.size() >= 2 && canonical[1] == L':' && systemDrives.find(canonical[0]) != std::wstring::npos;
}

// The four folders of a system drive, in walk order, each as named and in canonical form, when the
// guard accepts it.
struct Root {
  std::wstring walked, canonical;
};
std::vector<Root> SystemFolders(const cleaning::PathGuard& guard) {
  std::vector<Root> roots;
  auto add = [&](HRESULT hr, const std::wstring& folder, const wchar_t* ownSystemFolder) {
    Root root{folder, std::wstring()};
    if (SUCCEEDED(hr) && guard.AcceptRoot(folder, ownSystemFolder, &root.canonical)) roots.push_back(root);
  };
  std::wstring folder;
  HRESULT hr = cleaning::ShellFolderPath(CSIDL_INTERNET_CACHE, &folder);
  add(hr, folder, nullptr);
  hr = cleaning::ShellFolderPath(CSIDL_WINDOWS, &folder);
  add(hr, folder + L"\\Prefetch", L"Prefetch");
  hr = cleaning::TemporaryFolder(&folder);
  add(hr, folder, L"Temp");
  hr = cleaning::ShellFolderPath(CSIDL_RECENT, &folder);
  add(hr, folder, nullptr);
  return roots;
}

}  // namespace

bool IsJunkName(const wchar_t* name, size_t length) {
  // A name that passes two tests ("~$a.tmp") is still one junk file, reported once.
  return EndsWith(name, length, L".old", 4) || EndsWith(name, length, L".~de", 4) ||
         EndsWith(name, length, L".tmp", 4) || EndsWith(name, length, L".tmpl", 5) ||
         (length >= 2 && name[0] == L'~' && name[1] == L'$');
}

LONG ScanDrive(cleaning::Reporter& reporter, const wchar_t* drive) {
  std::wstring root(drive ? drive : L"", base::LengthBounded(drive, 4));
  if (root.size() != 3 || !BeginsWithDriveRoot(root.c_str(), 3)) return ERROR_INVALID_PARAMETER;
  const cleaning::PathGuard guard;
  std::wstring systemDrives = SystemDrives(guard), canonical;
  if (systemDrives.empty() || !cleaning::CanonicalPath(root, &canonical)) return ERROR_PATH_NOT_FOUND;
  if (OnSystemDrive(canonical, systemDrives)) {
    cleaning::FolderWalk walk(reporter);
    for (const Root& folder : SystemFolders(guard)) {
      if (!walk.Walk(folder.walked)) break;
    }
    return ERROR_SUCCESS;
  }
  // A drive that stands for a folder of another drive is walked only when that folder may be.
  const size_t rootLength = cleaning::RootLength(canonical);
  if (canonical.size() > rootLength &&
      (guard.InProtected(canonical) || !cleaning::PlainFoldersFrom(canonical, 0))) {
    return ERROR_ACCESS_DENIED;
  }
  // The protected folders on the drive, spelt as the walk will meet them.
  std::vector<std::wstring> fence;
  for (const std::wstring& folder : guard.protectedFolders()) {
    if (folder.size() <= canonical.size() || !cleaning::WithinFolder(folder, canonical)) continue;
    size_t from = canonical.size() + (canonical.back() == L'\\' ? 0 : 1);
    fence.push_back(root + folder.substr(from));
  }
  cleaning::FolderWalk walk(reporter, IsJunkName);
  walk.Fence(std::move(fence));
  walk.Walk(root);
  return ERROR_SUCCESS;
}

bool IsJunkNow(const cleaning::FileTarget& target) {
  const cleaning::PathGuard guard;
  std::wstring systemDrives = SystemDrives(guard);
  if (systemDrives.empty()) return false;
  if (OnSystemDrive(target.folder, systemDrives)) {
    for (const Root& root : SystemFolders(guard)) {
      if (cleaning::WalkReaches(target.folder, root.canonical)) return true;
    }
    return false;
  }
  return IsJunkName(target.name.c_str(), target.name.size()) && !guard.InProtected(target.folder) &&
         target.folder.size() + 4 < MAX_PATH && cleaning::PlainFoldersFrom(target.folder, 0);
}

}  // namespace litterbin

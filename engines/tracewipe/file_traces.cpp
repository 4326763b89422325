#include "engines/tracewipe/file_traces.h"

#include <shlobj.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "base/handles.h"
#include "engines/common/folder_walk.h"
#include "engines/common/shell_folders.h"
#include "engines/tracewipe/firefox_profiles.h"

namespace tracewipe {
namespace {

using Names = std::vector<const wchar_t*>;

// Never "key3.db" or "key4.db" (they hold the certificates' keys too), and never "places.sqlite",
// whose history shares the file with the bookmarks.
const Names& FilesOf(FirefoxTrace trace) {
  static const Names kCookies = {L"cookies.sqlite", L"cookies.sqlite-wal", L"cookies.sqlite-shm"};
  static const Names kFormData = {L"formhistory.sqlite", L"formhistory.sqlite-wal", L"formhistory.sqlite-shm"};
  static const Names kPasswords = {L"logins.json", L"logins-backup.json", L"signons.sqlite", L"signons.sqlite-wal",
                                   L"signons.sqlite-shm"};
  static const Names kDownloads = {L"downloads.sqlite", L"downloads.sqlite-wal", L"downloads.sqlite-shm"};
  switch (trace) {
    case FirefoxTrace::Cookies: return kCookies;
    case FirefoxTrace::FormData: return kFormData;
    case FirefoxTrace::Passwords: return kPasswords;
    case FirefoxTrace::Downloads: return kDownloads;
    case FirefoxTrace::Cache: break;
  }
  static const Names kNone;
  return kNone;
}

LONG StatusOf(HRESULT hr) { return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : hr; }

// The profile's roaming or local folder, reached without passing a junction or link.
bool ProfileFolder(const FirefoxProfile& profile, const DataFolders& folders, bool local, std::wstring* path) {
  if (profile.relative.empty()) {
    *path = local ? profile.local : profile.roaming;
    return IsPlainFolder(*path);
  }
  return PlainFolderBelow(local ? folders.local : folders.roaming, L"Mozilla\\Firefox\\" + profile.relative, path);
}

// The profile's cache folder, when the guard lets it be taken whole.
bool CacheFolder(const cleaning::PathGuard& guard, const FirefoxProfile& profile, const DataFolders& folders,
                 std::wstring* cache, std::wstring* canonical) {
  std::wstring folder;
  return ProfileFolder(profile, folders, true, &folder) && PlainFolderBelow(folder, L"cache2", cache) &&
         guard.AcceptRoot(*cache, nullptr, canonical);
}

bool ObjectsFolder(const cleaning::PathGuard& guard, const DataFolders& folders, std::wstring* objects,
                   std::wstring* canonical) {
  return PlainFolderBelow(folders.roaming, L"Macromedia\\Flash Player\\#SharedObjects", objects) &&
         guard.AcceptRoot(*objects, nullptr, canonical);
}

bool IsCacheName(const std::wstring& name) {
  for (const wchar_t* stem : {L"thumbcache_", L"iconcache_"}) {
    size_t length = wcslen(stem);
    if (name.size() > length + 3 && _wcsnicmp(name.c_str(), stem, length) == 0 &&
        _wcsicmp(name.c_str() + name.size() - 3, L".db") == 0 && name.find_first_of(L"*?") == std::wstring::npos) {
      return true;
    }
  }
  return false;
}

bool ExplorerFolder(const cleaning::PathGuard& guard, const DataFolders& folders, std::wstring* explorer,
                    std::wstring* canonical) {
  return PlainFolderBelow(folders.local, L"Microsoft\\Windows\\Explorer", explorer) &&
         guard.AcceptRoot(*explorer, nullptr, canonical);
}

}  // namespace

bool IsPlainFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// base\steps, when every folder on the way below base is a plain folder (no junction or link).
bool PlainFolderBelow(const std::wstring& base, std::wstring_view steps, std::wstring* path) {
  std::wstring at = base;
  while (!steps.empty()) {
    size_t end = steps.find(L'\\');
    at.push_back(L'\\');
    at.append(steps.substr(0, end));
    if (!IsPlainFolder(at)) return false;
    steps.remove_prefix(end == std::wstring_view::npos ? steps.size() : end + 1);
  }
  *path = at;
  return true;
}

bool ReportFile(cleaning::Reporter& reporter, const std::wstring& folder, const wchar_t* name) {
  std::wstring path = folder + L"\\" + name;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return true;
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return reporter.Progress(name) && reporter.Item(name, path, size);
}

LONG ScanThumbnailCaches(cleaning::Reporter& reporter, const DataFolders& folders) {
  std::wstring explorer, canonical;
  if (!ExplorerFolder(cleaning::PathGuard(), folders, &explorer, &canonical)) return ERROR_PATH_NOT_FOUND;
  for (const wchar_t* pattern : {L"\\thumbcache_*.db", L"\\iconcache_*.db"}) {
    WIN32_FIND_DATAW data;
    base::UniqueFind find(FindFirstFileW((explorer + pattern).c_str(), &data));
    if (!find) continue;
    do {
      // The pattern also matches the short names of longer ones ("thumbcache_x.dbx").
      if (!(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
          IsCacheName(data.cFileName) && !ReportFile(reporter, explorer, data.cFileName)) {
        return ERROR_SUCCESS;
      }
    } while (FindNextFileW(find.get(), &data));
  }
  return ERROR_SUCCESS;
}

bool IsThumbnailCache(const cleaning::PathGuard& guard, const DataFolders& folders, const cleaning::FileTarget& target) {
  std::wstring explorer, canonical;
  return IsCacheName(target.name) && ExplorerFolder(guard, folders, &explorer, &canonical) &&
         _wcsicmp(canonical.c_str(), target.folder.c_str()) == 0;
}

bool CurrentDataFolders(DataFolders* folders, LONG* status) {
  HRESULT hr = cleaning::ShellFolderPath(CSIDL_APPDATA, &folders->roaming);
  if (SUCCEEDED(hr)) hr = cleaning::ShellFolderPath(CSIDL_LOCAL_APPDATA, &folders->local);
  *status = StatusOf(hr);
  return SUCCEEDED(hr);
}

bool IsBrowserFileTrace(const cleaning::PathGuard& guard, const DataFolders& folders,
                        const cleaning::FileTarget& target) {
  std::wstring walked, root;
  if (ObjectsFolder(guard, folders, &walked, &root) && cleaning::WalkReaches(target.folder, root)) return true;
  for (const FirefoxProfile& profile : FirefoxProfiles(folders.roaming, folders.local)) {
    if (CacheFolder(guard, profile, folders, &walked, &root) && cleaning::WalkReaches(target.folder, root)) return true;
    std::wstring folder, canonical;
    if (!ProfileFolder(profile, folders, false, &folder) || !cleaning::CanonicalPath(folder, &canonical)) continue;
    if (_wcsicmp(canonical.c_str(), target.folder.c_str()) != 0) continue;
    for (FirefoxTrace trace : {FirefoxTrace::Cookies, FirefoxTrace::FormData, FirefoxTrace::Passwords,
                               FirefoxTrace::Downloads}) {
      for (const wchar_t* name : FilesOf(trace)) {
        if (_wcsicmp(name, target.name.c_str()) == 0) return true;
      }
    }
  }
  return false;
}

LONG ScanFirefox(cleaning::Reporter& reporter, const DataFolders& folders, FirefoxTrace trace) {
  std::vector<FirefoxProfile> profiles = FirefoxProfiles(folders.roaming, folders.local);
  if (profiles.empty()) return ERROR_FILE_NOT_FOUND;
  const cleaning::PathGuard guard;
  for (const FirefoxProfile& profile : profiles) {
    std::wstring folder;
    if (trace == FirefoxTrace::Cache) {
      std::wstring cache, canonical;
      if (CacheFolder(guard, profile, folders, &cache, &canonical) && !cleaning::FolderWalk(reporter).Walk(cache)) {
        break;
      }
      continue;
    }
    if (!ProfileFolder(profile, folders, false, &folder)) continue;
    for (const wchar_t* name : FilesOf(trace)) {
      if (!ReportFile(reporter, folder, name)) return ERROR_SUCCESS;
    }
  }
  return ERROR_SUCCESS;
}

LONG ScanFlashObjects(cleaning::Reporter& reporter, const DataFolders& folders) {
  std::wstring objects, canonical;
  if (!ObjectsFolder(cleaning::PathGuard(), folders, &objects, &canonical)) return ERROR_PATH_NOT_FOUND;
  cleaning::FolderWalk(reporter).Walk(objects);
  return ERROR_SUCCESS;
}

}  // namespace tracewipe

#include "engines/tracewipe/chromium_traces.h"

#include <cwchar>
#include <vector>

#include "base/handles.h"
#include "engines/common/folder_walk.h"
#include "engines/tracewipe/local_state.h"

namespace tracewipe {
namespace {

struct Browser {
  int group;
  bool roaming;               // the user-data folder lies in the roaming application data
  const wchar_t* userData;    // below the application data folder
  bool rootIsProfile;         // the user-data folder is a profile itself (Opera)
  const wchar_t* localCache;  // where the root profile's cache lies in the local folder, if elsewhere
};

const Browser kBrowsers[] = {
    {4, false, L"Google\\Chrome\\User Data", false, nullptr},
    {5, false, L"Microsoft\\Edge\\User Data", false, nullptr},
    {6, false, L"BraveSoftware\\Brave-Browser\\User Data", false, nullptr},
    {6, false, L"Vivaldi\\User Data", false, nullptr},
    {6, true, L"Opera Software\\Opera Stable", true, L"Opera Software\\Opera Stable"},
    {6, false, L"Chromium\\User Data", false, nullptr},
};

using Names = std::vector<const wchar_t*>;

const Names kHistory = {L"History", L"History-journal", L"Visited Links", L"Top Sites", L"Top Sites-journal",
                        L"Shortcuts", L"Shortcuts-journal", L"Network Action Predictor",
                        L"Network Action Predictor-journal"};
const Names kCookies = {L"Cookies", L"Cookies-journal"};  // in "Network", and in the profile of older versions
const Names kSessionFiles = {L"Current Session", L"Current Tabs", L"Last Session", L"Last Tabs"};
const Names kPasswords = {L"Login Data", L"Login Data-journal", L"Login Data For Account",
                          L"Login Data For Account-journal"};
const Names kCacheFolders = {L"Cache", L"Code Cache", L"GPUCache"};
const wchar_t kSessionsFolder[] = L"Sessions";

bool Listed(const Names& names, const std::wstring& name) {
  for (const wchar_t* listed : names) {
    if (_wcsicmp(listed, name.c_str()) == 0) return true;
  }
  return false;
}

// A folder name a profile may have: one step, no dots or spaces at its end, nothing a file name
// may not hold.
bool IsPlainName(const std::wstring& name) {
  if (name.empty() || name.size() > 200 || name == L"." || name == L"..") return false;
  if (name.back() == L'.' || name.back() == L' ') return false;
  for (wchar_t c : name) {
    if (c < 32 || wcschr(L"\\/:*?\"<>|", c)) return false;
  }
  return true;
}

// "Default", or "Profile " and a number: the folders the browsers make for their profiles.
bool IsUsualProfile(const std::wstring& name) {
  if (_wcsicmp(name.c_str(), L"Default") == 0) return true;
  if (name.size() < 9 || name.size() > 18 || _wcsnicmp(name.c_str(), L"Profile ", 8) != 0) return false;
  for (size_t i = 8; i < name.size(); ++i) {
    if (name[i] < L'0' || name[i] > L'9') return false;
  }
  return true;
}

std::vector<std::wstring> LocalStateNames(const std::wstring& userData) {
  base::UniqueFile file(CreateFileW((userData + L"\\Local State").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  LARGE_INTEGER size = {};
  std::vector<std::wstring> names;
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      static_cast<uint64_t>(size.QuadPart) > kLargestLocalState) {
    return names;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) return names;
  bytes.resize(read);
  ReadLocalStateProfiles(bytes, &names);
  return names;
}

struct Profile {
  std::wstring folder;  // the profile's own folder
  std::wstring cache;   // where its cache folders lie, when not in its own folder
};

std::wstring DataRoot(const Browser& browser, const DataFolders& folders) {
  return browser.roaming ? folders.roaming : folders.local;
}

// The browser's user-data folder, reached through plain folders only.
bool UserData(const Browser& browser, const DataFolders& folders, std::wstring* path) {
  return PlainFolderBelow(DataRoot(browser, folders), browser.userData, path);
}

void AddProfile(const Browser& browser, const DataFolders& folders, const std::wstring& userData,
                const std::wstring& name, std::vector<Profile>* profiles) {
  if (profiles->size() >= kMostProfiles) return;
  Profile profile;
  if (name.empty()) {
    profile.folder = userData;
  } else if (!IsPlainName(name) || !PlainFolderBelow(userData, name, &profile.folder)) {
    return;
  }
  for (const Profile& seen : *profiles) {
    if (_wcsicmp(seen.folder.c_str(), profile.folder.c_str()) == 0) return;
  }
  if (browser.localCache) {
    std::wstring cache;
    if (PlainFolderBelow(folders.local, browser.localCache, &cache) &&
        (name.empty() || PlainFolderBelow(cache, name, &cache))) {
      profile.cache = cache;
    }
  }
  profiles->push_back(std::move(profile));
}

// Every profile of the browser now: the user-data folder's "Default" and "Profile N" folders and
// those "Local State" lists, each a plain folder directly below it.
std::vector<Profile> Profiles(const Browser& browser, const DataFolders& folders) {
  std::vector<Profile> profiles;
  std::wstring userData;
  if (!UserData(browser, folders, &userData)) return profiles;
  if (browser.rootIsProfile) AddProfile(browser, folders, userData, std::wstring(), &profiles);
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((userData + L"\\*").c_str(), &data));
  if (find) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsUsualProfile(data.cFileName)) {
        AddProfile(browser, folders, userData, data.cFileName, &profiles);
      }
    } while (FindNextFileW(find.get(), &data));
  }
  for (const std::wstring& name : LocalStateNames(userData)) AddProfile(browser, folders, userData, name, &profiles);
  return profiles;
}

// Walks folder\sub when the guard takes it whole. False when the receiver ended the scan.
bool WalkBelow(cleaning::Reporter& reporter, const cleaning::PathGuard& guard, const std::wstring& folder,
               const wchar_t* sub) {
  std::wstring root, canonical;
  if (!PlainFolderBelow(folder, sub, &root) || !guard.AcceptRoot(root, nullptr, &canonical)) return true;
  return cleaning::FolderWalk(reporter).Walk(root);
}

bool ReportNames(cleaning::Reporter& reporter, const std::wstring& folder, const Names& names) {
  for (const wchar_t* name : names) {
    if (!ReportFile(reporter, folder, name)) return false;
  }
  return true;
}

bool ScanProfile(cleaning::Reporter& reporter, const cleaning::PathGuard& guard, const Profile& profile,
                 ChromiumTrace trace) {
  switch (trace) {
    case ChromiumTrace::History: return ReportNames(reporter, profile.folder, kHistory);
    case ChromiumTrace::Passwords: return ReportNames(reporter, profile.folder, kPasswords);
    case ChromiumTrace::Cookies: {
      std::wstring network;
      if (PlainFolderBelow(profile.folder, L"Network", &network) && !ReportNames(reporter, network, kCookies)) {
        return false;
      }
      return ReportNames(reporter, profile.folder, kCookies);
    }
    case ChromiumTrace::Sessions:
      return WalkBelow(reporter, guard, profile.folder, kSessionsFolder) &&
             ReportNames(reporter, profile.folder, kSessionFiles);
    case ChromiumTrace::Cache:
      for (const std::wstring& base : {profile.folder, profile.cache}) {
        if (base.empty()) continue;
        for (const wchar_t* sub : kCacheFolders) {
          if (!WalkBelow(reporter, guard, base, sub)) return false;
        }
      }
      return true;
  }
  return true;
}

bool SameFolder(const std::wstring& path, const std::wstring& canonical) {
  std::wstring other;
  return cleaning::CanonicalPath(path, &other) && _wcsicmp(other.c_str(), canonical.c_str()) == 0;
}

// Whether a file of the canonical folder belongs to a walk of folder\sub the guard takes whole.
bool InWalk(const cleaning::PathGuard& guard, const std::wstring& folder, const wchar_t* sub,
            const std::wstring& target) {
  std::wstring root, canonical;
  return PlainFolderBelow(folder, sub, &root) && guard.AcceptRoot(root, nullptr, &canonical) &&
         cleaning::WalkReaches(target, canonical);
}

bool IsProfileTrace(const cleaning::PathGuard& guard, const Profile& profile, const cleaning::FileTarget& target) {
  const std::wstring& name = target.name;
  if (SameFolder(profile.folder, target.folder)) {
    return Listed(kHistory, name) || Listed(kPasswords, name) || Listed(kCookies, name) || Listed(kSessionFiles, name);
  }
  if (SameFolder(profile.folder + L"\\Network", target.folder) && IsPlainFolder(profile.folder + L"\\Network")) {
    return Listed(kCookies, name);
  }
  if (InWalk(guard, profile.folder, kSessionsFolder, target.folder)) return true;
  for (const std::wstring& base : {profile.folder, profile.cache}) {
    if (base.empty()) continue;
    for (const wchar_t* sub : kCacheFolders) {
      if (InWalk(guard, base, sub, target.folder)) return true;
    }
  }
  return false;
}

// Whether the guard lets the profile's folder be taken from: the user-data folder comes from the
// user's shell folders, which any program can point at the Windows folder or a drive.
bool ProfileAccepted(const cleaning::PathGuard& guard, const Profile& profile) {
  std::wstring canonical;
  return guard.AcceptRoot(profile.folder, nullptr, &canonical);
}

// Whether the browser runs: it holds its user-data folder's "lockfile" open, writers excluded.
bool IsRunning(const std::wstring& userData) {
  base::UniqueFile lock(CreateFileW((userData + L"\\lockfile").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return !lock && GetLastError() == ERROR_SHARING_VIOLATION;
}

// When the canonical folder is root or lies below it: the first step below root ("" for root).
bool FirstStepBelow(const std::wstring& folder, const std::wstring& root, std::wstring* step) {
  if (!cleaning::WithinFolder(folder, root)) return false;
  std::wstring rest = folder.substr(root.size());
  if (!rest.empty() && rest[0] == L'\\') rest.erase(0, 1);
  *step = rest.substr(0, rest.find(L'\\'));
  return true;
}

// Whether name is a profile of the user-data folder now, as Profiles would find it.
bool IsProfileNow(const std::wstring& userData, const std::wstring& name) {
  std::wstring folder;
  if (!IsPlainName(name) || !PlainFolderBelow(userData, name, &folder)) return false;
  if (IsUsualProfile(name)) return true;
  for (const std::wstring& listed : LocalStateNames(userData)) {
    if (_wcsicmp(listed.c_str(), name.c_str()) == 0) return true;
  }
  return false;
}

}  // namespace

LONG ScanChromium(cleaning::Reporter& reporter, const DataFolders& folders, int group, ChromiumTrace trace) {
  const cleaning::PathGuard guard;
  LONG status = ERROR_PATH_NOT_FOUND;
  for (const Browser& browser : kBrowsers) {
    if (browser.group != group) continue;
    std::vector<Profile> profiles = Profiles(browser, folders);
    if (!profiles.empty()) status = ERROR_SUCCESS;
    for (const Profile& profile : profiles) {
      if (!ProfileAccepted(guard, profile)) continue;
      if (!ScanProfile(reporter, guard, profile, trace)) return ERROR_SUCCESS;
    }
  }
  return status;
}

ChromiumVerdict JudgeChromiumFile(const cleaning::PathGuard& guard, const DataFolders& folders,
                                  const cleaning::FileTarget& target) {
  for (const Browser& browser : kBrowsers) {
    // Only the profile the file's folder lies in is looked at: a clean request is judged on its
    // own, and a cache of thousands of files is cleaned one request at a time.
    std::wstring userData, canonical;
    if (!UserData(browser, folders, &userData) || !cleaning::CanonicalPath(userData, &canonical)) continue;
    std::wstring step;
    if (!FirstStepBelow(target.folder, canonical, &step)) {
      std::wstring cache, cacheCanonical;
      if (!browser.localCache || !PlainFolderBelow(folders.local, browser.localCache, &cache) ||
          !cleaning::CanonicalPath(cache, &cacheCanonical) || !FirstStepBelow(target.folder, cacheCanonical, &step)) {
        continue;
      }
    }
    std::vector<Profile> candidates;
    if (browser.rootIsProfile) AddProfile(browser, folders, userData, std::wstring(), &candidates);
    if (!step.empty() && IsProfileNow(userData, step)) AddProfile(browser, folders, userData, step, &candidates);
    for (const Profile& profile : candidates) {
      if (ProfileAccepted(guard, profile) && IsProfileTrace(guard, profile, target)) {
        return IsRunning(userData) ? ChromiumVerdict::Held : ChromiumVerdict::Trace;
      }
    }
  }
  return ChromiumVerdict::NotATrace;
}

}  // namespace tracewipe

// The traces browsers and plug-ins keep as files: Firefox's cookies, cache, form data, saved
// passwords and old download history in every profile, and Flash Player's stored objects. Items are
// reported as the folder walk reports them: progress with the file name, then "name|full path|size".
// No scan enters a folder that is a junction or link, nor reports a file that is one.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "engines/common/clean_target.h"
#include "engines/common/path_guard.h"
#include "engines/common/reporter.h"

namespace tracewipe {

enum class FirefoxTrace {
  Cookies,    // "cookies.sqlite" and its "-wal" and "-shm" companions
  Cache,      // every file below "cache2" of the profile's local folder
  FormData,   // "formhistory.sqlite" and companions
  Passwords,  // "logins.json", "logins-backup.json", and "signons.sqlite" of old versions with companions
  Downloads,  // "downloads.sqlite" of old versions and companions
};

// The application data folders a scan starts from (the shell's roaming and local ones).
struct DataFolders {
  std::wstring roaming, local;
};

// The shell's folders of the current user; false when either has no path.
bool CurrentDataFolders(DataFolders* folders, LONG* status);

LONG ScanFirefox(cleaning::Reporter& reporter, const DataFolders& folders, FirefoxTrace trace);
LONG ScanFlashObjects(cleaning::Reporter& reporter, const DataFolders& folders);

// Whether path names an existing folder that is no junction or link.
bool IsPlainFolder(const std::wstring& path);
// base\steps, when every folder on the way below base is a plain folder (no junction or link).
bool PlainFolderBelow(const std::wstring& base, std::wstring_view steps, std::wstring* path);
// The file folder\name as an item when it is a plain file. False when the receiver ended the scan.
bool ReportFile(cleaning::Reporter& reporter, const std::wstring& folder, const wchar_t* name);

// Explorer's thumbnail and icon caches: the "thumbcache_*.db" and "iconcache_*.db" files of
// "Microsoft\Windows\Explorer" in the local application data folder.
LONG ScanThumbnailCaches(cleaning::Reporter& reporter, const DataFolders& folders);
bool IsThumbnailCache(const cleaning::PathGuard& guard, const DataFolders& folders, const cleaning::FileTarget& target);

// Whether a scan of the browsers' and plug-ins' traces would report the file now: it lies in a
// cache or stored-objects folder the guard accepts, or is a listed file of a profile's folder.
bool IsBrowserFileTrace(const cleaning::PathGuard& guard, const DataFolders& folders,
                        const cleaning::FileTarget& target);

}  // namespace tracewipe

// Bookvault.dll: one copy of the browser favorites in Backup\Favorites\Internet Explorer of the
// program's folder (the current directory). A backup replaces the copy, a restore replaces the
// favorites with it; either ends fully done or leaves both places as they were. Links inside the
// favorites are never listed, entered or followed.
#include "contracts/bookvault.h"

#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

#include "base/export_guard.h"
#include "engines/bookvault/entries.h"
#include "engines/bookvault/file_ops.h"
#include "engines/bookvault/holding.h"

namespace {

using namespace bookvault;

struct Places {
  std::wstring favorites;
  std::wstring backup;
};

bool FindPlaces(Places* places) {
  // The path even when the folder is missing (a restore makes it), never creating it here.
  wchar_t favorites[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT,
                              favorites)))
    return false;
  wchar_t current[MAX_PATH] = {};
  DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  if (length == 0 || length >= MAX_PATH) return false;
  places->favorites = favorites;
  places->backup = current;
  if (places->backup.back() == L'\\') places->backup.pop_back();  // a drive root
  places->backup += L"\\Backup\\Favorites\\Internet Explorer";
  return !places->favorites.empty();
}

std::vector<std::wstring> Names(const std::vector<std::wstring>& entries) {
  std::vector<std::wstring> names;
  for (const std::wstring& entry : entries) names.push_back(Leaf(entry));
  return names;
}

// The new copy is made complete in a staging folder beside the backup before the old one is
// touched; the swap itself moves entries within one volume.
bool Backup(const Places& places) {
  // The backup folder comes with the installation and is never made here.
  if (!IsFolder(places.favorites) || !IsFolder(places.backup)) return false;
  std::vector<std::wstring> favorites, previous;
  if (!ListEntries(places.favorites, &favorites) || !ListEntries(places.backup, &previous)) return false;
  std::wstring staging = places.backup + L".staging";
  if (!FreshFolder(staging)) return false;
  bool done = true;
  for (const std::wstring& entry : favorites) {
    if (!CopyInto(entry, staging)) {
      done = false;
      break;
    }
  }
  Holding replaced(places.backup + L".previous");
  done = done && ReplaceEntries(places.backup, previous, Names(favorites), replaced, [&](const std::wstring& name) {
           return MoveEntry(Join(staging, name), Join(places.backup, name));
         });
  DeleteEntry(staging);
  return done;
}

// A free name "Replaced <local time as %Y%m%d%H%M%S>" in folder, with " (2)" and so on after it
// when restores follow within one second; "" when none is free.
std::wstring FreeReplacedName(const std::wstring& folder) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wchar_t stamp[64] = {};
  swprintf(stamp, 64, L"Replaced %04u%02u%02u%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond);
  for (int n = 1; n < 100; ++n) {
    std::wstring name = stamp;
    if (n > 1) name += L" (" + std::to_wstring(n) + L")";
    if (!Exists(Join(folder, name))) return name;
  }
  return std::wstring();
}

// The current favorites are moved into a dated folder beside the backup ("Replaced <stamp>"); once
// the whole copy is back, those that stand unchanged in the restored favorites are dropped and the
// rest stays there for good, so a restore never destroys a favorite. *replaced receives the
// folder's name when it stays, else "".
bool Restore(const Places& places, std::wstring* replaced) {
  std::vector<std::wstring> saved;
  if (!IsFolder(places.backup) || !ListEntries(places.backup, &saved)) return false;
  // A restore from an empty backup would only delete every favorite.
  if (saved.empty()) return false;
  if (!IsFolder(places.favorites) && !CreateDirectoryW(places.favorites.c_str(), nullptr)) return false;
  std::vector<std::wstring> current;
  if (!ListEntries(places.favorites, &current)) return false;
  std::wstring area = Parent(places.backup);
  std::wstring name = FreeReplacedName(area);
  if (name.empty()) return false;
  Holding kept(Join(area, name), Holding::Kept());
  bool done = ReplaceEntries(places.favorites, current, Names(saved), kept, [&](const std::wstring& entry) {
    return CopyInto(Join(places.backup, entry), places.favorites);
  });
  // After a failure whatever could not go back waits there too.
  if (IsFolder(kept.folder())) *replaced = name;
  return done;
}

}  // namespace

extern "C" {

int WINAPI BookvaultBackupIE(void) {
  return base::Guarded([&] {
    Places places;
    return FindPlaces(&places) && Backup(places) ? 1 : 0;
  });
}

int WINAPI BookvaultRestoreIE(void) {
  wchar_t ignored[MAX_PATH] = {};
  return BookvaultRestoreIEKeeping(ignored);
}

int WINAPI BookvaultRestoreIEKeeping(wchar_t* replacedFolder) {
  return base::Guarded([&] {
    if (replacedFolder) replacedFolder[0] = L'\0';
    Places places;
    std::wstring replaced;
    int result = FindPlaces(&places) && Restore(places, &replaced) ? 1 : 0;
    if (replacedFolder && replaced.size() < MAX_PATH) {
      replaced.copy(replacedFolder, replaced.size());
      replacedFolder[replaced.size()] = L'\0';
    }
    return result;
  });
}

}  // extern "C"

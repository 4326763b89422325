// Bookvault.dll: one copy of the browser favorites in Backup\Favorites\Internet Explorer of the
// program's folder (the current directory). A backup replaces the copy, a restore replaces the
// favorites with it; either ends fully done or leaves both places as they were.
#include "contracts/bookvault.h"

#include <shlobj.h>

#include <string>
#include <vector>

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

// The current favorites wait in a rollback folder of the backup area until the whole copy is back.
bool Restore(const Places& places) {
  std::vector<std::wstring> saved;
  if (!IsFolder(places.backup) || !ListEntries(places.backup, &saved)) return false;
  // A restore from an empty backup would only delete every favorite.
  if (saved.empty()) return false;
  if (!IsFolder(places.favorites) && !CreateDirectoryW(places.favorites.c_str(), nullptr)) return false;
  std::vector<std::wstring> current;
  if (!ListEntries(places.favorites, &current)) return false;
  Holding rollback(places.backup + L".rollback");
  return ReplaceEntries(places.favorites, current, Names(saved), rollback, [&](const std::wstring& name) {
    return CopyInto(Join(places.backup, name), places.favorites);
  });
}

}  // namespace

extern "C" {

int WINAPI BookvaultBackupIE(void) {
  try {
    Places places;
    return FindPlaces(&places) && Backup(places) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int WINAPI BookvaultRestoreIE(void) {
  try {
    Places places;
    return FindPlaces(&places) && Restore(places) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"

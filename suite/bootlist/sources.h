// Where Windows finds what it starts at log-on, by the kind number the startup manager reports:
//   1 HKEY_CURRENT_USER Run, 2 the per-user and all-users Startup folders, 3 HKEY_LOCAL_MACHINE Run,
//   4 HKEY_LOCAL_MACHINE Run of the 32-bit view on 64-bit Windows, 5 HKEY_CURRENT_USER RunOnce,
//   6 HKEY_LOCAL_MACHINE RunOnce.
// Registry keys are opened in the 64-bit view, so a path names one key whatever the bitness of the
// process; kind 4 is then the literal "Wow6432Node" key, which exists only on 64-bit Windows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"

namespace bootlist {

enum Kind : int {
  kUserRun = 1,
  kStartupFolder = 2,
  kMachineRun = 3,
  kMachineRun32 = 4,
  kUserRunOnce = 5,
  kMachineRunOnce = 6,
};

struct RegistrySource {
  HKEY root;
  const wchar_t* path;
};

// The key of a registry kind; false for kind 2, unknown kinds, and kind 4 where this Windows has
// no separate 32-bit view of the key (a 32-bit Windows, or a view shared with the native key).
bool RegistrySourceOf(int kind, RegistrySource* source);
// Opens a registry kind's key with the access given (plus the 64-bit view); invalid when the kind
// has no key here or the key does not exist.
base::UniqueKey OpenSource(int kind, REGSAM access);

// Only string values start anything; every other type is left alone.
bool IsCommandType(DWORD type);

// The per-user and all-users Startup folders that exist, without a trailing backslash.
std::vector<std::wstring> StartupFolders();
// Whether path names a file (not a folder) directly inside one of the Startup folders.
bool IsStartupFile(const std::wstring& path);

}  // namespace bootlist

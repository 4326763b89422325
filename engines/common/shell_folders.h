// The shell folders the cleaning scans walk, found as the system knows them for the current user.
#pragma once
#include <windows.h>

#include <string>

namespace cleaning {

// The current path of a shell folder (CSIDL number) of the current user, never creating it.
// The failure's HRESULT when there is none.
HRESULT ShellFolderPath(int csidl, std::wstring* path);

// The user's temporary folder as the system defines it: the folder GetTempPathW names (the TMP
// or TEMP the shell gave the user), without its trailing backslash. Only when neither variable is
// set, the classic rule: the local application data folder cut at its last backslash, followed by
// "\Temp", when that folder exists; otherwise the local application data folder followed by
// "\Temp". The failure's HRESULT when none of these has a path. The folder still has to pass the
// guard (engines/common/path_guard.h) before it is walked.
HRESULT TemporaryFolder(std::wstring* path);

}  // namespace cleaning

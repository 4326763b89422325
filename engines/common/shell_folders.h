// The shell folders the cleaning scans walk, found as the system knows them for the current user.
#pragma once
#include <windows.h>

#include <string>

namespace cleaning {

// The current path of a shell folder (CSIDL number) of the current user, never creating it.
// The failure's HRESULT when there is none.
HRESULT ShellFolderPath(int csidl, std::wstring* path);

// The user's temporary folder as the cleaners know it: the local application data folder cut at
// its last backslash, followed by "\Temp" (the temporary folder of Windows 2000 and XP) when that
// folder exists; otherwise (Vista and later) the local application data folder followed by
// "\Temp". The failure's HRESULT when the local application data folder has no path.
HRESULT TemporaryFolder(std::wstring* path);

}  // namespace cleaning

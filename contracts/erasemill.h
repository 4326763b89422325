// Erasemill.dll: erases files beyond recovery.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Overwrites the file at path mode times (1-35; the program passes 3: zeros, ones, random bytes),
// each pass flushed to the disk, then sets its length to 0, renames it to random names and deletes
// it. 1 when the file is gone and its data overwritten; 0 otherwise. Folders, devices, links, files
// in use and anything but a plain absolute path are refused and left as they were.
int WINAPI ErasemillKillFile(const wchar_t* path, int mode);

#ifdef __cplusplus
}
#endif

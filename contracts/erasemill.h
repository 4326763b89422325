// Erasemill.dll: erases files beyond recovery.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// What ErasemillKillFile returns. Only ERASEMILL_ERASED means the file is gone.
#define ERASEMILL_FAILED 0      // not erased: refused, in use, or a step failed (see below)
#define ERASEMILL_ERASED 1      // gone, its data overwritten
// Refused and left as it was, because its old data does not lie where an overwrite reaches it:
#define ERASEMILL_COMPRESSED 2  // compressed by the file system (new data goes to new clusters)
#define ERASEMILL_ENCRYPTED 3   // encrypted by the file system (plain copies may lie elsewhere)
#define ERASEMILL_SPARSE 4      // sparse (the file system may move its data as it writes)

// Overwrites the file at path mode times (1-35; the program passes 3: zeros, ones, random bytes),
// each pass flushed to the disk, then sets its length to 0, renames it to random names and deletes
// it, the renames and the deletion made through the handle it holds open all along (by path only
// where the system has no such call). A file small enough to live in its file record is written in
// place at its own length. Folders, devices, links, files in use and anything but a plain absolute
// path are refused and left as they were (ERASEMILL_FAILED); so are compressed, encrypted and sparse
// files (their own codes). A rename or deletion that fails makes the erase fail.
int WINAPI ErasemillKillFile(const wchar_t* path, int mode);

#ifdef __cplusplus
}
#endif

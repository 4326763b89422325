// Webmend.dll: 22 browser settings by display name ("Start Page", ...): read, write, shipped
// default, compare. Value buffers hold 260 characters.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI WebmendGetSetting(const wchar_t* name, wchar_t* value);
// 0 when written; the value's prior state (or its absence) is appended to the undo journal first,
// and a journal that cannot be written leaves the value unchanged (non-zero result).
int WINAPI WebmendSetSetting(const wchar_t* name, const wchar_t* value);
int WINAPI WebmendDefaultSetting(const wchar_t* name, wchar_t* value);
int WINAPI WebmendCompare(const wchar_t* name);  // 1 when the current value equals the default
// The undo journal later writes append to (a repair run's file, shared with Typemend and
// Ctrlguard); null or "" for this library's own "Backup\Repairs\<local time stamp>.reg" below
// the current folder. Returns 1.
int WINAPI WebmendSetUndoFile(const wchar_t* path);

#ifdef __cplusplus
}
#endif

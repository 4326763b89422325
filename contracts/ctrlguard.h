// Ctrlguard.dll: checks and blocks known unsafe ActiveX controls by their class identifier.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// key: a class identifier "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; anything else is refused.
// 0 when the control is not blocked: it is registered (HKCR\CLSID, either registry view) and a view
// that registers it lacks the kill bit. 1 when it is blocked or not installed; -1 for a refused key.
int WINAPI CtrlguardStatus(const wchar_t* key);
// Sets the kill bit (0x400 of a REG_DWORD "Compatibility Flags", other bits kept) in both registry
// views on a 64-bit Windows, after appending the flags' prior state (or their absence) to the undo
// journal; 1 on success, 0 on failure. Flags of another type, or a journal that cannot be written,
// refuse the block and change nothing.
int WINAPI CtrlguardBlock(const wchar_t* key);
// The undo journal later blocks append to (a repair run's file, shared with Typemend and Webmend);
// null or "" for this library's own "Backup\Repairs\<local time stamp>.reg" below the current
// folder. Returns 1.
int WINAPI CtrlguardSetUndoFile(const wchar_t* path);

#ifdef __cplusplus
}
#endif

// Bootlist.dll: the programs Windows starts at log-on. Entries are reported to the window as
// WM_COPYDATA 100001 "item|command line|kind" before BootlistGetStartupList returns.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Kinds: 1 HKEY_CURRENT_USER Run, 2 a file of the per-user or all-users Startup folder (item: its
// name, command line: its full path), 3 HKEY_LOCAL_MACHINE Run, 4 the same in the 32-bit view of a
// 64-bit Windows, 5 HKEY_CURRENT_USER RunOnce, 6 HKEY_LOCAL_MACHINE RunOnce. In the item and the
// command line "%" is sent as "%25" and "|" as "%7C". 1 when the whole list was reported.
int WINAPI BootlistGetStartupList(HWND window);
// key: the command line for kind 2, the item text for every other kind, both decoded. The entry's
// undo is written under "Backup\Startup\" of the current folder first (a file is moved into
// "Backup\Startup\Files\"). 1 when the entry was removed; 0, changing nothing, for anything that
// is not an entry of that kind.
int WINAPI BootlistRemoveStartupList(int kind, const wchar_t* key);
// What an entry starts, into two caller-zeroed buffers of 260 characters: starts, the command (a
// shortcut's target and arguments, else the command line, cut to fit); program, the full path of
// the program file (the shortcut itself for a shortcut whose target is missing), "" when there is
// none. 1 when a program path was given.
int WINAPI BootlistGetEntryTarget(int kind, const wchar_t* commandLine, wchar_t* starts, wchar_t* program);

#ifdef __cplusplus
}
#endif

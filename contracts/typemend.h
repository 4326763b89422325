// Typemend.dll: the open commands of sixteen file types (".txt", ...). Value buffers hold 260
// characters.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI TypemendGetFileAssociation(const wchar_t* name, wchar_t* value);
int WINAPI TypemendGetDefaultFileAssociation(const wchar_t* name, wchar_t* value);
int WINAPI TypemendCompare(const wchar_t* name);  // 1 when the current value equals the default
// Points the extension back to the class Windows ships for it ("txtfile" for ".txt") and writes
// that class's open command (a shortcut class's identifier); the class the extension names now is
// left as it is. Every prior state is appended to the undo journal first; 1 when repaired, 0 when
// refused (unknown name, a key that is a link, a journal that cannot be written) or a write failed.
int WINAPI TypemendFileAssociationRepair(const wchar_t* name);
// 0 when the type is a problem: no open command (or class identifier) can be read, or it differs
// from the shipped one and names no existing program (registered class); 1 otherwise.
int WINAPI TypemendCheck(const wchar_t* name);
// The undo journal later repairs append to (a repair run's file, shared with Webmend and
// Ctrlguard); null or "" for this library's own "Backup\Repairs\<local time stamp>.reg" below
// the current folder. Returns 1.
int WINAPI TypemendSetUndoFile(const wchar_t* path);

#ifdef __cplusplus
}
#endif

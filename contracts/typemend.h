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
int WINAPI TypemendFileAssociationRepair(const wchar_t* name);

#ifdef __cplusplus
}
#endif

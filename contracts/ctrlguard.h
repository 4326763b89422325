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
// Sets the kill bit (0x400 of "Compatibility Flags", other bits kept) in both registry views on a
// 64-bit Windows; 1 on success, 0 on failure.
int WINAPI CtrlguardBlock(const wchar_t* key);

#ifdef __cplusplus
}
#endif

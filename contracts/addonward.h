// Addonward.dll: removes browser add-ons.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// type: "Toolbar", "Extensions" or "MenuExt"; key: the add-on's identifier or key name.
int WINAPI AddonwardRemoveBHO(const wchar_t* key, const wchar_t* type);

#ifdef __cplusplus
}
#endif

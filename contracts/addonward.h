// Addonward.dll: removes browser add-ons.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// type: "Toolbar", "Extensions", "MenuExt" or "BHO"; key: the add-on's identifier or key name.
// Removes that add-on from every registry view that holds it, after appending its exact entries to
// the undo file "Backup\Addons\<time stamp>.reg" below the current folder. 1 on success; 0 when
// the add-on is not there, could not be removed whole, or the key is not one plain name (empty,
// "." or "..", or holding "\" or "/") or the type is not one of these.
int WINAPI AddonwardRemoveBHO(const wchar_t* key, const wchar_t* type);

#ifdef __cplusplus
}
#endif

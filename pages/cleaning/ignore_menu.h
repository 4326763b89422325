// "Ignore this item" on a result list: the context menu that offers it, and storing what the user
// chose with a clear message when the store refuses it. Shared by the cleaner, registry and home
// pages; what a row's identity is stays with each page.
#pragma once
#include <windows.h>

#include "base/exclusions.h"

namespace cleaning_pages {

enum class IgnoreChoice { kNone, kItem, kFolder };

// The row a WM_CONTEXTMENU on a list view is about: the row under the mouse, or the focused row
// when the menu was asked for from the keyboard (lParam -1); -1 when there is none. The row is
// selected, so the user sees which one the menu is for.
int ContextRow(HWND list, LPARAM point);
// Where the menu for a list view's row opens: the WM_CONTEXTMENU point, or below the row's label
// when it was asked for from the keyboard.
POINT MenuPoint(HWND list, int row, LPARAM point);
// Shows the menu at a screen point ("Ignore this item", and "Ignore this folder" when
// offerFolder) and returns the choice.
IgnoreChoice AskIgnore(HWND owner, POINT at, bool offerFolder);
// Stores the exclusion; true when it is stored now or was already. A refusal is told to the user,
// with owner as the message box's owner.
bool StoreExclusion(HWND owner, const base::Exclusion& item);

}  // namespace cleaning_pages

// The small pictures of the trace category tree, drawn at run time in the page's colours: 0 a
// category, 1 the system, 2 and 3 the two browsers (globes of two colours), 4 the plug-ins.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace cleaning_pages {

constexpr int kTreeIconCount = 5;

// A 16 x 16 image list holding the five pictures; null when it cannot be made.
HIMAGELIST MakeTreeIcons();

}  // namespace cleaning_pages

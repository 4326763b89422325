// The small pictures of the cleaner pages, drawn at run time in the pages' colours. The tree of
// trace categories: 0 a category, 1 the system, 2 and 3 the two classic browsers (globes of two
// colours), 4 the plug-ins, and from the skin's files (res/draw_skin.sh) 5 Google Chrome,
// 6 Microsoft Edge, 7 the other browsers; image 1 + g is the picture of group g. The drive list: a fixed drive (drawn rather than taken from the shell's system
// image list, whose creation costs the process several megabytes under Wine).
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace cleaning_pages {

// A 16 x 16 image list holding the eight pictures; null when it cannot be made.
HIMAGELIST MakeTreeIcons();

// A 16 x 16 image list holding the drive picture; null when it cannot be made.
HIMAGELIST MakeDriveIcon();

}  // namespace cleaning_pages

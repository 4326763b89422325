// The skin's GDI bitmaps, one per file for the whole program: the pages draw the same button
// strips ("Refresh", "Remove", "Back"...) on several pages, and each strip is some 60 KB of pixels.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/gdi.h"

namespace ui {

// The bitmap of a ".bmp" file (a full path), loaded by the first caller and shared with every later
// one until the last lets go; null when the file cannot be loaded.
std::shared_ptr<const Bitmap> SharedSkinBitmap(const std::wstring& fullPath);

// The size of the picture in a ".bmp" file, read from its headers alone; false when the file cannot
// be read or is no bitmap.
bool ReadBitmapSize(const std::wstring& path, SIZE* size);

}  // namespace ui

// GDI+ images owned like every other handle.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace ui {

using GpImage = std::unique_ptr<Gdiplus::Image>;
using GpBitmap = std::unique_ptr<Gdiplus::Bitmap>;

// Loads an image file (PNG, JPEG, GIF, BMP; the first frame) into a bitmap of its own: the file is
// closed again and nothing but the pixels stays in memory. A missing or unreadable file gives a
// bitmap whose status is not Ok; drawing it draws nothing.
GpBitmap LoadBitmapFile(const wchar_t* path);

inline bool Usable(const Gdiplus::Image* image) { return image && image->GetLastStatus() == Gdiplus::Ok; }

}  // namespace ui

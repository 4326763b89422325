#include "ui/gdiplus.h"

#include <cstring>

namespace ui {

// A bitmap GDI+ decoded from a file keeps the file open and its decoder alive, and the decoder
// holds a second copy of the pixels: some 40 KB for each button of the menu, for as long as the
// program runs. A copy of the pixels alone costs half that and no file handle.
GpBitmap LoadBitmapFile(const wchar_t* path) {
  GpBitmap decoded(Gdiplus::Bitmap::FromFile(path));
  if (!decoded) return decoded;
  if (!Usable(decoded.get())) {
    // Reading the status cleared it: one more failing call sets it again for the caller.
    decoded->GetWidth();
    return decoded;
  }
  const UINT width = decoded->GetWidth(), height = decoded->GetHeight();
  GpBitmap copy(new Gdiplus::Bitmap(static_cast<INT>(width), static_cast<INT>(height), PixelFormat32bppARGB));
  if (!Usable(copy.get()) || width == 0 || height == 0) return decoded;
  Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData from = {}, to = {};
  if (decoded->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) != Gdiplus::Ok) return decoded;
  bool copied = false;
  if (copy->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &to) == Gdiplus::Ok) {
    for (UINT y = 0; y < height; ++y) {
      std::memcpy(static_cast<BYTE*>(to.Scan0) + static_cast<INT_PTR>(y) * to.Stride,
                  static_cast<const BYTE*>(from.Scan0) + static_cast<INT_PTR>(y) * from.Stride, width * 4u);
    }
    copied = copy->UnlockBits(&to) == Gdiplus::Ok;
  }
  decoded->UnlockBits(&from);
  return copied ? std::move(copy) : std::move(decoded);
}

}  // namespace ui

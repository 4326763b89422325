// Skin bitmaps. CEnBitmap loads a GDI bitmap from a ".bmp" file, or from a ".jpg" file rendered on a
// background colour; CXuBitmap adds the drawing the frame needs: plain, stretched and transparent
// copies, and the region of every pixel that is not a given colour.
#pragma once
#include <windows.h>

#include "ui/gdi.h"

class CEnBitmap {
 public:
  CEnBitmap() = default;
  virtual ~CEnBitmap() = default;
  CEnBitmap(const CEnBitmap&) = delete;
  CEnBitmap& operator=(const CEnBitmap&) = delete;

  // The kind is taken from the path's last four characters: ".BMP" or ".JPG" in any case; every
  // other ending fails. A bitmap held before is released first. Returns whether one is held now.
  bool LoadImage(const wchar_t* path, COLORREF background = RGB(255, 255, 255));
  // Takes ownership of a bitmap.
  void Attach(HBITMAP bitmap) { bitmap_.reset(bitmap); }
  void DeleteObject() { bitmap_.reset(); }

  HBITMAP GetSafeHandle() const { return bitmap_.get(); }
  bool IsLoaded() const { return bitmap_.valid(); }
  int Width() const;
  int Height() const;
  int BitsPerPixel() const;

 private:
  static HBITMAP LoadJpeg(const wchar_t* path, COLORREF background);
  ui::Bitmap bitmap_;
};

class CXuBitmap : public CEnBitmap {
 public:
  // The whole bitmap at (x, y).
  void Draw(HDC dc, int x, int y) const;
  // A part of the bitmap at (x, y), at its own size.
  void Draw(HDC dc, int x, int y, const RECT& source) const;
  void Stretch(HDC dc, const RECT& destination) const;
  void Stretch(HDC dc, const RECT& destination, const RECT& source) const;
  // A part of the bitmap at (x, y); pixels of the mask colour leave the destination unchanged.
  void DrawTransparent(HDC dc, int x, int y, const RECT& source, COLORREF mask) const;
  // The region (in bitmap coordinates) of every pixel whose colour differs from transparent,
  // compared in the bitmap's own depth. Null when there is no bitmap. The caller owns it.
  HRGN CreateRegion(COLORREF transparent) const;
};

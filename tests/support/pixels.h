// Reading back what a window painted, for pixel checks in UI tests.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace test {

class Capture {
 public:
  // The window's client area as it paints it: WM_PRINT with PRF_CLIENT | PRF_CHILDREN |
  // PRF_ERASEBKGND into a 32-bit bitmap (the window need not be visible).
  static Capture Print(HWND window);
  // The client area as it is on the screen now (the window must be visible and uncovered).
  static Capture Screen(HWND window);
  // Any rectangle of the screen.
  static Capture ScreenRect(const RECT& rect);

  bool ok() const { return width_ > 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel at (x, y) as an RGB COLORREF; CLR_INVALID outside.
  COLORREF At(int x, int y) const;
  // How many pixels of a rectangle have the colour.
  int Count(const RECT& rect, COLORREF colour) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<DWORD> pixels_;  // top-down, 0x00RRGGBB
};

// Writes a 24-bit .bmp file of width x height whose pixel (x, y) is colour(x, y).
bool WriteBitmap(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& colour);

}  // namespace test

// The painting messages of a window that paints all of itself: WM_PAINT and WM_PRINTCLIENT draw
// with paint(dc), and WM_ERASEBKGND erases nothing, since the painting covers the whole window.
// A window's message table starts with:
//   if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
#pragma once
#include <windows.h>

#include "ui/gdi.h"

namespace ui {

template <typename PaintFunction>
bool HandlePaint(HWND hwnd, UINT message, WPARAM wParam, LRESULT& result, PaintFunction&& paint) {
  switch (message) {
    case WM_PAINT: {
      PaintDC dc(hwnd);
      paint(dc.get());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = TRUE;
      return true;
  }
  return false;
}

}  // namespace ui

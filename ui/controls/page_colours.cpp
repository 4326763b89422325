#include "ui/controls/page_colours.h"

namespace ui {

bool ColourPageControl(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  auto dc = reinterpret_cast<HDC>(wParam);
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(dc, TRANSPARENT);
      break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetBkMode(dc, OPAQUE);
      break;
    default:
      return false;
  }
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  // A stock brush: shared by every page, never deleted.
  result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  return true;
}

}  // namespace ui

#include "ui/page_frame.h"

#include "ui/gdi.h"

namespace {
constexpr COLORREF kAccent = RGB(0, 141, 66);
}

void PaintPageFrame(HDC dc, int width, int height) {
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ui::Brush accent(CreateSolidBrush(kAccent));
  RECT top = {0, 0, width, 1};
  RECT right = {width - 1, 0, width, height};
  RECT bottom = {0, height - 1, width, height};
  FillRect(dc, &top, accent.get());
  FillRect(dc, &right, accent.get());
  FillRect(dc, &bottom, accent.get());
}

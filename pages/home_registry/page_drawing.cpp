#include "pages/home_registry/page_drawing.h"

#include "ui/page_frame.h"
#include "ui/gdi.h"

namespace registry_pages {

void PaintGround(HDC dc, const RECT& client, const CXuBitmap& panel) {
  PaintPageFrame(dc, client.right, client.bottom);
  if (panel.IsLoaded()) panel.Draw(dc, kPanelAt.x, kPanelAt.y);
}

void Text(HDC dc, int x, int y, const std::wstring& text) {
  if (text.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TextIn(HDC dc, const RECT& rect, const std::wstring& text) {
  if (text.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  RECT r = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
}

void TextBefore(HDC dc, int x, int y, int right, const std::wstring& head, const std::wstring& tail) {
  auto width = [dc](const std::wstring& text) {
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  std::wstring shown = head + tail;
  for (size_t keep = head.size(); keep > 0 && x + width(shown) > right; --keep)
    shown = head.substr(0, keep - 1) + L"..." + tail;
  Text(dc, x, y, shown);
}

void PaintProblemCount(HDC dc, HFONT font, int problems) {
  ui::Select selected(dc, font);
  SetTextColor(dc, kProblemRed);
  Text(dc, 51, 61, std::to_wstring(problems) + L" Problem(s) Found");
}

}  // namespace registry_pages

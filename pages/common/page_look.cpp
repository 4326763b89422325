#include "pages/common/page_look.h"

namespace common_pages {

PageFonts::PageFonts()
    : regular(ui::MakeFont(L"MS Sans Serif", 10)),
      bold(ui::MakeFont(L"MS Sans Serif", 10, FW_BOLD)),
      underline(ui::MakeFont(L"MS Sans Serif", 10, FW_NORMAL, true)),
      title(ui::MakeFont(L"Arial", 18, FW_BOLD)) {}

void DrawTextAt(HDC dc, HFONT font, COLORREF colour, int x, int y, const std::wstring& text) {
  ui::Select selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void DrawTextIn(HDC dc, HFONT font, COLORREF colour, const RECT& rect, const std::wstring& text, UINT format) {
  ui::Select selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT r = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX | DT_SINGLELINE);
}

void PaintBuffered(HWND window, const std::function<void(HDC)>& paint) {
  ui::PaintDC target(window);
  RECT client = {};
  GetClientRect(window, &client);
  ui::MemoryDC memory(CreateCompatibleDC(target.get()));
  ui::Bitmap bitmap(CreateCompatibleBitmap(target.get(), client.right, client.bottom));
  if (!memory || !bitmap) {
    paint(target.get());
    return;
  }
  ui::Select selected(memory.get(), bitmap.get());
  const RECT& dirty = target.paint().rcPaint;
  // Parts wholly outside the area to paint can be passed over (RectVisible).
  IntersectClipRect(memory.get(), dirty.left, dirty.top, dirty.right, dirty.bottom);
  paint(memory.get());
  BitBlt(target.get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, memory.get(),
         dirty.left, dirty.top, SRCCOPY);
}

bool HandlePagePaint(HWND window, UINT message, WPARAM wParam, LRESULT& result,
                     const std::function<void(HDC)>& paint) {
  switch (message) {
    case WM_PAINT:
      PaintBuffered(window, paint);
      break;
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      break;
    case WM_ERASEBKGND:
      result = TRUE;
      return true;
    default:
      return false;
  }
  result = 0;
  return true;
}

void PlaceControl(HWND dialog, int id, int x, int y, int width, int height) {
  if (HWND control = GetDlgItem(dialog, id)) SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinButton(HWND dialog, int id, ui::CSkinButton& button, const wchar_t* bitmapPath) {
  button.Bind(GetDlgItem(dialog, id));
  button.Load(bitmapPath);
}

}  // namespace common_pages

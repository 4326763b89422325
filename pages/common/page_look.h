// The look the pages share: colours, fonts, text drawing, flicker-free painting and the
// placing of template controls to the pixel.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/controls/skin_button.h"
#include "ui/gdi.h"

namespace common_pages {

constexpr COLORREF kAccent = RGB(0, 141, 66);
constexpr COLORREF kTitleGreen = RGB(0, 110, 52);
constexpr COLORREF kLinkGreen = RGB(0, 128, 0);
constexpr COLORREF kBodyText = RGB(0, 0, 0);
constexpr COLORREF kQuietText = RGB(96, 104, 100);

// Body text "MS Sans Serif" 10 (regular, bold, underlined for links) and titles "Arial" bold.
struct PageFonts {
  PageFonts();
  ui::Font regular, bold, underline, title;
};

void DrawTextAt(HDC dc, HFONT font, COLORREF colour, int x, int y, const std::wstring& text);
// Text inside a rectangle with DrawText's format flags (DT_END_ELLIPSIS, DT_RIGHT...).
void DrawTextIn(HDC dc, HFONT font, COLORREF colour, const RECT& rect, const std::wstring& text, UINT format);

// WM_PAINT through a memory bitmap of the client area, so that frequent repaints do not flicker.
void PaintBuffered(HWND window, const std::function<void(HDC)>& paint);

// The painting messages of a page that paints all of itself: WM_PAINT buffered, WM_PRINTCLIENT,
// and WM_ERASEBKGND erasing nothing. False for any other message.
bool HandlePagePaint(HWND window, UINT message, WPARAM wParam, LRESULT& result,
                     const std::function<void(HDC)>& paint);

// Moves a control of a dialog template to an exact pixel rectangle.
void PlaceControl(HWND dialog, int id, int x, int y, int width, int height);

// Binds a push button of a dialog template to its skin bitmap.
void SkinButton(HWND dialog, int id, ui::CSkinButton& button, const wchar_t* bitmapPath);

}  // namespace common_pages

// The cleaner pages, where this layer began, name it as their own.
namespace cleaning_pages {
using namespace common_pages;
}  // namespace cleaning_pages

// What the two backup pages share: their white ground with the accent lines along the top, right
// and bottom edges, their lines of text, and their skinned buttons placed to the pixel.
#pragma once
#include <windows.h>

#include <initializer_list>

#include "ui/controls/skin_button.h"

namespace backup_pages {

constexpr COLORREF kAccent = RGB(0, 141, 66);
// The page's buttons are drawn from strips of 143 x 34 frames.
constexpr int kButtonWidth = ui::CSkinButton::kFrameWidth;
constexpr int kButtonHeight = 34;

struct TextLine {
  int x, y;
  const wchar_t* text;
};

// White, the lines of text in the given font, and the accent lines (none on the left edge).
void PaintPage(HWND page, HDC dc, HFONT font, std::initializer_list<TextLine> lines);

// Binds a push button of the page to its skin image and gives it the size of one frame, keeping its
// template position.
void SkinButton(HWND page, int id, ui::CSkinButton& button, const wchar_t* bitmapPath);

// The page's message box, owned by the main window (the page's parent), caption "Lumaspan".
int Ask(HWND page, const wchar_t* text, UINT icon);

}  // namespace backup_pages

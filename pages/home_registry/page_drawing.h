// Drawing the registry cleaner's three pages share: the white ground with its panel image and
// accent lines, plain text, and the problem counter.
#pragma once
#include <windows.h>

#include <string>

#include "ui/skin/bitmap.h"

namespace registry_pages {

constexpr COLORREF kProblemRed = RGB(205, 0, 1);
constexpr POINT kPanelAt = {8, 53};

// White, the panel image at (8, 53) at its own size (nothing when it did not load), and the accent
// lines along the top, right and bottom edges of the client rectangle.
void PaintGround(HDC dc, const RECT& client, const CXuBitmap& panel);

// Text at (x, y) in the DC's font and colour, on a transparent background.
void Text(HDC dc, int x, int y, const std::wstring& text);
// Text from the rectangle's top left, cut with an ellipsis where it would leave the rectangle.
void TextIn(HDC dc, const RECT& rect, const std::wstring& text);

// head + tail from (x, y), kept left of right: when it does not fit, the head is shortened with "..."
// so that the tail (a count) still shows whole.
void TextBefore(HDC dc, int x, int y, int right, const std::wstring& head, const std::wstring& tail);

// "<n> Problem(s) Found" in red at (51, 61), in the given font ("Arial" 16 bold).
void PaintProblemCount(HDC dc, HFONT font, int problems);

}  // namespace registry_pages

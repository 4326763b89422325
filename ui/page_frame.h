// The look every page shares: white, with the accent lines along its top, right and bottom edges.
#pragma once
#include <windows.h>

// Paints a page of this size.
void PaintPageFrame(HDC dc, int width, int height);

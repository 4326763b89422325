// The colouring every skinned page shares: white dialog background, and black text on white for
// its statics, edits, buttons (check boxes, group boxes) and list boxes, with statics and buttons
// drawing their text transparently over the page. Scroll bars keep the system's colours.
//
// A page calls it first in its OnMessage:
//   if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
#pragma once
#include <windows.h>

namespace ui {

// Answers WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN and
// WM_CTLCOLORLISTBOX (true, with the brush in result); false for every other message.
bool ColourPageControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace ui

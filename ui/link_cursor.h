// The cursor of a window that draws its own links: the hand over a link, the arrow elsewhere. The
// window says whether a client point is on a link; the cursor is chosen on every mouse move and
// whenever Windows asks for one over the client area, so the arrow never flashes in between.
// A window's message table starts with:
//   if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result,
//                            [this](POINT p) { return OnLink(p); })) return true;
#pragma once
#include <windows.h>

#include "ui/window.h"

namespace ui {

inline void SetLinkCursor(bool onLink) { SetCursor(LoadCursorW(nullptr, onLink ? IDC_HAND : IDC_ARROW)); }

template <typename IsLink>
bool HandleLinkCursor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, IsLink&& isLink) {
  switch (message) {
    case WM_MOUSEMOVE: {
      SetLinkCursor(isLink(PointFromLParam(lParam)));
      result = 0;
      return true;
    }
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT) return false;
      POINT client = {};
      GetCursorPos(&client);
      ScreenToClient(hwnd, &client);
      SetLinkCursor(isLink(client));
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace ui

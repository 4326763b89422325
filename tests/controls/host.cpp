#include "tests/controls/host.h"

#include <commctrl.h>

#include <string>

#include "tests/support/pump.h"
#include "tests/support/scratch.h"
#include "ui/controls/page_colours.h"

namespace test {

bool TestPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (colour && ui::ColourPageControl(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_INITDIALOG:
      result = TRUE;
      return true;
    case WM_COMMAND:
      commands.push_back(wParam);
      return true;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED) ++itemChanges;
      return false;
  }
  return false;
}

Host::Host() {
  ui::Window::RegisterClass(L"LumaspanControlsTestHost", CS_DBLCLKS, nullptr,
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  frame_.CreateEx(WS_EX_TOPMOST, L"LumaspanControlsTestHost", L"controls", WS_POPUP | WS_VISIBLE, 40, 40, 900, 640,
                  nullptr, nullptr);
  page_.Create(frame_.hwnd());
  SetWindowPos(page_.hwnd(), nullptr, 0, 0, 900, 640, SWP_NOZORDER | SWP_SHOWWINDOW);
  SetForegroundWindow(frame_.hwnd());
  PumpFor(30);
}

Host::~Host() { page_.Destroy(); }

int Differences(const Capture& a, const RECT& rect, const Capture& b, int bx, int by) {
  int n = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      if (a.At(x, y) != b.At(bx + x - rect.left, by + y - rect.top)) ++n;
  return n;
}

int Dark(const Capture& capture, const RECT& rect) {
  int n = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) {
      COLORREF c = capture.At(x, y);
      if (c != CLR_INVALID && GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) ++n;
    }
  return n;
}

}  // namespace test

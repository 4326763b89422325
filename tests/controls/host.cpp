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

bool WriteBitmap(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& colourAt) {
  int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + stride * height;
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  for (int y = height - 1; y >= 0; --y) {
    std::string line(stride, '\0');
    for (int x = 0; x < width; ++x) {
      COLORREF c = colourAt(x, y);
      line[x * 3] = static_cast<char>(GetBValue(c));
      line[x * 3 + 1] = static_cast<char>(GetGValue(c));
      line[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    bytes += line;
  }
  return WriteFile(path, bytes);
}

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

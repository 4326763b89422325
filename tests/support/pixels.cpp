#include "tests/support/pixels.h"

#include <cstring>

#include "tests/support/scratch.h"

namespace test {
namespace {

// A top-down 32-bit DIB section to draw into.
struct Dib {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  DWORD* bits = nullptr;
  Dib(int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<DWORD*>(p);
    if (bitmap) old = SelectObject(dc, bitmap);
  }
  ~Dib() {
    if (old) SelectObject(dc, old);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
  }
};

}  // namespace

Capture Capture::Print(HWND window) {
  Capture c;
  RECT r;
  if (!GetClientRect(window, &r) || r.right <= 0 || r.bottom <= 0) return c;
  Dib dib(r.right, r.bottom);
  if (!dib.bits) return c;
  SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
  GdiFlush();
  c.width_ = r.right;
  c.height_ = r.bottom;
  c.pixels_.assign(dib.bits, dib.bits + r.right * r.bottom);
  return c;
}

Capture Capture::ScreenRect(const RECT& rect) {
  Capture c;
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return c;
  Dib dib(w, h);
  if (!dib.bits) return c;
  HDC screen = GetDC(nullptr);
  BitBlt(dib.dc, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  c.width_ = w;
  c.height_ = h;
  c.pixels_.assign(dib.bits, dib.bits + w * h);
  return c;
}

Capture Capture::Screen(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return ScreenRect(r);
}

COLORREF Capture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Capture::Count(const RECT& rect, COLORREF colour) const {
  int n = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      if (At(x, y) == colour) ++n;
  return n;
}

bool WriteBitmap(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& colour) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = stride * height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::vector<BYTE> bytes(file.bfSize);
  memcpy(bytes.data(), &file, sizeof(file));
  memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
  for (int y = 0; y < height; ++y) {
    BYTE* row = bytes.data() + file.bfOffBits + (height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      COLORREF c = colour(x, y);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
  return WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace test

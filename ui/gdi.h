// Scoped owners for GDI objects, device contexts, icons and image lists, and the scoped selection
// of an object into a DC: nothing drawn is released by hand.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/handles.h"

namespace ui {

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
using Font = base::Scoped<GdiObjectTraits<HFONT>>;
using Bitmap = base::Scoped<GdiObjectTraits<HBITMAP>>;
using Brush = base::Scoped<GdiObjectTraits<HBRUSH>>;
using Pen = base::Scoped<GdiObjectTraits<HPEN>>;
using Region = base::Scoped<GdiObjectTraits<HRGN>>;

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyIcon(h); }
};
using Icon = base::Scoped<IconTraits>;

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ImageList_Destroy(h); }
};
using ImageList = base::Scoped<ImageListTraits>;

struct MemoryDCTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteDC(h); }
};
// A memory DC (CreateCompatibleDC).
using MemoryDC = base::Scoped<MemoryDCTraits>;

// GetDC / GetWindowDC, released on scope exit.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd, bool wholeWindow = false)
      : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }

 private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT ps_;
};

// Selects an object into a DC and puts the previous one back.
class Select {
 public:
  Select(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~Select() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Select(const Select&) = delete;
  Select& operator=(const Select&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SaveDC / RestoreDC.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// CreateFontW with the parameters the program varies: face, height (pixels), weight, underline.
inline HFONT MakeFont(const wchar_t* face, int height, int weight = FW_NORMAL, bool underline = false) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace ui

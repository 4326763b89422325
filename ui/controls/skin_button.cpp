#include "ui/controls/skin_button.h"

#include <algorithm>

#include "ui/controls/skin_bitmaps.h"

namespace ui {

bool CSkinButton::Bind(HWND button) {
  if (!Subclass(button)) return false;
  LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  InvalidateRect(button, nullptr, TRUE);
  return true;
}

bool CSkinButton::Load(const wchar_t* bitmapPath, int frameWidth) {
  bitmap_.reset();
  path_.clear();
  frames_ = 0;
  wchar_t full[MAX_PATH] = {};
  DWORD length = bitmapPath ? GetFullPathNameW(bitmapPath, MAX_PATH, full, nullptr) : 0;
  SIZE size = {};
  if (length > 0 && length < MAX_PATH && ReadBitmapSize(full, &size)) {
    path_ = full;
    requestedWidth_ = frameWidth;
    Measure(size.cx, size.cy, frameWidth);
  }
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  return frames_ > 0;
}

void CSkinButton::Measure(LONG width, LONG height, int frameWidth) {
  frameWidth_ = frameWidth > 0 ? std::min(frameWidth, static_cast<int>(width)) : static_cast<int>(width);
  frameHeight_ = static_cast<int>(height < 0 ? -height : height);
  frames_ = width > 0 && frameHeight_ > 0 ? static_cast<int>(width) / frameWidth_ : 0;
}

const Bitmap* CSkinButton::Strip() {
  if (!bitmap_ && frames_ > 0) {
    bitmap_ = SharedSkinBitmap(path_);
    BITMAP info = {};
    if (bitmap_ && GetObjectW(bitmap_->get(), sizeof(info), &info)) {
      Measure(info.bmWidth, info.bmHeight, requestedWidth_);  // the pixels have the last word
    } else {
      frames_ = 0;
    }
    if (frames_ == 0) bitmap_.reset();
  }
  return bitmap_.get();
}

int CSkinButton::FrameFor(UINT drawState, bool hovered) const {
  auto available = [this](int frame, int fallback) { return frame < frames_ ? frame : fallback; };
  if (drawState & ODS_DISABLED) return available(kDisabled, kNormal);
  if (drawState & ODS_SELECTED) return available(kPressed, available(kHover, kNormal));
  if (hovered || (drawState & ODS_FOCUS)) return available(kHover, kNormal);
  return kNormal;
}

void CSkinButton::HoldPresses(DWORD holdMs) {
  heldFrom_ = GetTickCount();
  heldMs_ = holdMs;
}

bool CSkinButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && (wParam & MK_LBUTTON) && heldMs_) {
    if (GetTickCount() - heldFrom_ < heldMs_) {
      result = 0;  // never pressed, so the release that follows is no click
      return true;
    }
    heldMs_ = 0;
  }
  switch (message) {
    case OCM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_MOUSEMOVE:
      if (!hover_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
        SetHover(true);
      }
      return false;  // the button's own handling follows
    case WM_MOUSELEAVE:
      SetHover(false);
      return false;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click instead of a second click; a skinned button
      // is an ordinary push button to its user, so the second press is a press.
      result = Default(WM_LBUTTONDOWN, wParam, lParam);
      return true;
    case BM_SETSTYLE:
      // The dialog manager moves the default-button style around; the button stays owner-drawn.
      result = Default(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
      return true;
  }
  return false;
}

void CSkinButton::SetHover(bool hover) {
  if (hover_ == hover) return;
  hover_ = hover;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinButton::Draw(const DRAWITEMSTRUCT& item) {
  const Bitmap* strip = Strip();
  if (!strip) {
    DrawPlain(item);
    return;
  }
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  int x = r.left + ((r.right - r.left) - frameWidth_) / 2;
  int y = r.top + ((r.bottom - r.top) - frameHeight_) / 2;
  {
    SavedDC saved(dc);  // the parent's colouring sets text colours on this DC
    auto background = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd()), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    if (!background) background = GetSysColorBrush(COLOR_BTNFACE);
    ExcludeClipRect(dc, x, y, x + frameWidth_, y + frameHeight_);
    FillRect(dc, &r, background);
  }
  MemoryDC source(CreateCompatibleDC(dc));
  if (!source) return;
  Select bitmap(source.get(), strip->get());
  int frame = FrameFor(item.itemState, hover_);
  BitBlt(dc, x, y, frameWidth_, frameHeight_, source.get(), frame * frameWidth_, 0, SRCCOPY);
}

// A button whose bitmap is missing stays a usable button with its caption.
void CSkinButton::DrawPlain(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool disabled = (item.itemState & ODS_DISABLED) != 0;
  UINT look = DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0);
  DrawFrameControl(dc, &r, DFC_BUTTON, look);
  wchar_t text[260] = {};
  GetWindowTextW(hwnd(), text, 260);
  SavedDC saved(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
}

}  // namespace ui

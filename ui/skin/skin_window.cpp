#include "ui/skin/skin_window.h"

#include <algorithm>
#include <cwchar>

#include "base/product.h"
#include "ui/skin/skin_manager.h"
#include "ui/window.h"

namespace {

const wchar_t kSkinProperty[] = L"Lumaspan.Skin";
const wchar_t kNextProperty[] = L"Lumaspan.Skin.Next";
// Shown in the title bar of a window without a text of its own.
constexpr int kIconTop = 5;
constexpr int kMaxButtons = 16;  // a theme cannot make the reader loop for ever

bool IsBorder(LRESULT hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTBOTTOM:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      return true;
  }
  return false;
}

bool Inside(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}

// Draws part of an image stretched between x0 and x1 by the three-slice rule: first cap, middle
// tiled (the last copy clipped), second cap ending at x1. Rows [srcTop, srcTop + height) of the
// image are drawn at y.
void DrawAcross(HDC dc, const CXuBitmap& image, CXuSkinWindow::Slice slice, int srcTop, int height, int x0, int x1,
                int y) {
  if (!image.IsLoaded() || x1 <= x0 || height <= 0) return;
  const int width = image.Width();
  image.Draw(dc, x0, y, RECT{0, srcTop, std::min(slice.capEnd, x1 - x0), srcTop + height});
  const int middle = slice.capStart - slice.capEnd;
  if (middle > 0) {
    for (int x = x0 + slice.capEnd; x < x1; x += middle) {
      int w = std::min(middle, x1 - x);
      image.Draw(dc, x, y, RECT{slice.capEnd, srcTop, slice.capEnd + w, srcTop + height});
    }
  }
  const int capWidth = width - slice.capStart;
  if (capWidth > 0) image.Draw(dc, x1 - capWidth, y, RECT{slice.capStart, srcTop, width, srcTop + height});
}

// The same downwards: columns [srcLeft, srcLeft + width) of the image between y0 and y1 at x.
void DrawDown(HDC dc, const CXuBitmap& image, CXuSkinWindow::Slice slice, int srcLeft, int width, int y0, int y1,
              int x) {
  if (!image.IsLoaded() || y1 <= y0 || width <= 0) return;
  const int height = image.Height();
  image.Draw(dc, x, y0, RECT{srcLeft, 0, srcLeft + width, std::min(slice.capEnd, y1 - y0)});
  const int middle = slice.capStart - slice.capEnd;
  if (middle > 0) {
    for (int y = y0 + slice.capEnd; y < y1; y += middle) {
      int h = std::min(middle, y1 - y);
      image.Draw(dc, x, y, RECT{srcLeft, slice.capEnd, srcLeft + width, slice.capEnd + h});
    }
  }
  const int capHeight = height - slice.capStart;
  if (capHeight > 0) image.Draw(dc, x, y1 - capHeight, RECT{srcLeft, slice.capStart, srcLeft + width, height});
}

}  // namespace

CXuSkinWindow::Slice CXuSkinWindow::MakeSlice(int length, int firstCap, int secondCap) {
  Slice s;
  if (length <= 0) return s;
  s.capEnd = std::max(0, std::min(firstCap, length - 1));
  s.capStart = length - std::max(0, secondCap);
  if (s.capStart <= s.capEnd) s.capStart = s.capEnd + 1;
  if (s.capStart > length) s.capStart = length;
  return s;
}

CXuSkinWindow::~CXuSkinWindow() { Detach(); }

bool CXuSkinWindow::Attach(HWND hwnd) {
  if (!hwnd || hwnd_ || GetPropW(hwnd, kSkinProperty)) return false;
  hwnd_ = hwnd;
  SetPropW(hwnd, kSkinProperty, this);
  next_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  SetPropW(hwnd, kNextProperty, reinterpret_cast<HANDLE>(next_));
  LoadTheme();
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  hadThickFrame_ = (style & WS_THICKFRAME) != 0;
  hadMinimizeBox_ = (style & WS_MINIMIZEBOX) != 0;
  hadMaximizeBox_ = (style & WS_MAXIMIZEBOX) != 0;
  removedStyle_ = style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  SetWindowLongW(hwnd, GWL_STYLE, style & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  active_ = GetActiveWindow() == hwnd;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  UpdateRegion();
  return true;
}

void CXuSkinWindow::Detach() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  if (!IsWindow(hwnd)) return;
  RemovePropW(hwnd, kSkinProperty);
  // Only a procedure still on top can be unhooked; one that was subclassed again later stays in
  // the chain and passes everything on (it finds no skin any more).
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc)) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next_));
    RemovePropW(hwnd, kNextProperty);
  }
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | removedStyle_);
  SetWindowRgn(hwnd, nullptr, TRUE);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CXuSkinWindow::ResetTheme() {
  for (CXuBitmap* image : {&title_, &left_, &right_, &bottom_, &close_.image, &restore_.image, &minimize_.image,
                           &maximize_.image}) {
    image->DeleteObject();
  }
}

bool CXuSkinWindow::LoadTheme() {
  ResetTheme();
  const CSkinManager& skin = CSkinManager::GetInstance();
  bool complete = true;
  wchar_t path[CSkinManager::kPathChars];
  auto load = [&](CXuBitmap& image, const wchar_t* section, const wchar_t* key) {
    if (skin.GetImagePath(section, key, path)) {
      if (!image.LoadImage(path)) complete = false;
    } else if (skin.HasValue(section, key)) {
      complete = false;  // named, but too long to be a path
    }
  };

  maskColor_ = skin.GetColor(L"General", L"ColorMask", RGB(255, 0, 255));
  textShift_ = skin.GetInt(L"General", L"TextShift", 30);
  textShiftVert_ = skin.GetInt(L"General", L"TextShiftVert", 0);
  transparency_ = skin.GetBool(L"General", L"EnableTransparency", true);

  load(title_, L"FrameParams", L"Title");
  load(left_, L"FrameParams", L"LeftBorder");
  load(right_, L"FrameParams", L"RightBorder");
  load(bottom_, L"FrameParams", L"BottomBorder");
  titleHeight_ = title_.Height() / 2;
  leftWidth_ = left_.Width() / 2;
  rightWidth_ = right_.Width() / 2;
  bottomHeight_ = bottom_.Height() / 2;
  topBotHeight_ = skin.GetInt(L"FrameParams", L"TopBotHeight", 0);
  titleSlice_ = MakeSlice(title_.Width(), skin.GetInt(L"FrameParams", L"TopTopHeight", 0), topBotHeight_);
  leftSlice_ = MakeSlice(left_.Height(), skin.GetInt(L"FrameParams", L"LeftTopHeight", 0),
                         skin.GetInt(L"FrameParams", L"LeftBotHeight", 0));
  rightSlice_ = MakeSlice(right_.Height(), skin.GetInt(L"FrameParams", L"RightTopHeight", 0),
                          skin.GetInt(L"FrameParams", L"RightBotHeight", 0));
  bottomSlice_ = MakeSlice(bottom_.Width(), skin.GetInt(L"FrameParams", L"BottomTopHeight", 0),
                           skin.GetInt(L"FrameParams", L"BottomBotHeight", 0));
  textActive_ = skin.GetColor(L"FrameParams", L"TextColorActive", RGB(21, 66, 139));
  textInactive_ = skin.GetColor(L"FrameParams", L"TextColorInactive", RGB(160, 160, 160));

  int buttons = std::min(skin.GetInt(L"FrameParams", L"ButtonCount", 0), kMaxButtons);
  // Zero cells per image would divide by zero; such a theme shows each image as one cell.
  buttonCells_ = std::max(1, skin.GetInt(L"FrameParams", L"ButtonImgCount", 0));
  bool haveMaximize = false;
  for (int i = 0; i < buttons; ++i) {
    wchar_t section[32];
    swprintf(section, 32, L"FrameButton%d", i);
    if (!skin.HasValue(section, L"ButtonImage")) continue;  // no button without an image
    Button* target = nullptr;
    switch (skin.GetInt(section, L"Type", 0)) {
      case 0:
        target = &close_;
        break;
      case 1:
        target = haveMaximize ? &restore_ : &maximize_;
        haveMaximize = true;
        break;
      case 2:
        target = &minimize_;
        break;
      default:
        continue;
    }
    load(target->image, section, L"ButtonImage");
    target->x = skin.GetInt(section, L"XCoord", 0);
    target->y = skin.GetInt(section, L"YCoord", 0);
  }
  captionFont_.reset(ui::MakeFont(L"Arial", 14, FW_BOLD));
  themeComplete_ = complete;
  return complete;
}

void CXuSkinWindow::SetClientSize(int width, int height) {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, width + leftWidth_ + rightWidth_, height + titleHeight_ + bottomHeight_,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int CXuSkinWindow::CellWidth(const Button& button) const { return button.image.Width() / buttonCells_; }

const CXuSkinWindow::Button& CXuSkinWindow::MaxOrRestore() const {
  return ShowsMaximized() && restore_.image.IsLoaded() ? restore_ : maximize_;
}

bool CXuSkinWindow::InButton(const Button& button, POINT p, int windowWidth) const {
  if (!button.image.IsLoaded()) return false;
  int left = windowWidth - button.x;
  return Inside(p.x, p.y, left, button.y, left + CellWidth(button), button.y + button.image.Height() / 2);
}

LRESULT CXuSkinWindow::HitTest(POINT p) const {
  RECT window = {};
  if (hwnd_) GetWindowRect(hwnd_, &window);
  const int W = window.right - window.left, H = window.bottom - window.top;
  const int L = leftWidth_, R = rightWidth_, T = titleHeight_, B = bottomHeight_;
  const int iconW = GetSystemMetrics(SM_CXSMICON), iconH = GetSystemMetrics(SM_CYSMICON);

  if (InButton(close_, p, W)) return HTCLOSE;
  if (InButton(minimize_, p, W) && hadMinimizeBox_) return HTMINBUTTON;
  if (InButton(MaxOrRestore(), p, W) && hadMaximizeBox_) return HTMAXBUTTON;
  if (Inside(p.x, p.y, L, kIconTop, L + iconW, kIconTop + iconH)) return HTSYSMENU;
  if (hadThickFrame_ && state_ != kMaximized) {
    if (Inside(p.x, p.y, 0, 0, L, T)) return HTTOPLEFT;
    if (Inside(p.x, p.y, W - L, 0, W, T)) return HTTOPRIGHT;
    if (Inside(p.x, p.y, 0, H - B, L, H)) return HTBOTTOMLEFT;
    if (Inside(p.x, p.y, W - R, H - B, W, H)) return HTBOTTOMRIGHT;
    if (Inside(p.x, p.y, 0, T, L, H - B)) return HTLEFT;
    if (Inside(p.x, p.y, W - R, T, W, H - B)) return HTRIGHT;
    if (Inside(p.x, p.y, L, H - B, W - R, H)) return HTBOTTOM;
    if (Inside(p.x, p.y, L, 0, W - R, B)) return HTTOP;
  }
  if (Inside(p.x, p.y, L, kIconTop, W - R, T)) return HTCAPTION;
  return HTCLIENT;
}

void CXuSkinWindow::Maximize() {
  if (!hwnd_ || state_ == kMaximized) return;
  GetWindowRect(hwnd_, &restoreRect_);
  state_ = kMaximized;
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  MoveWindow(hwnd_, work.left, work.top, work.right - work.left, work.bottom - work.top, TRUE);
  UpdateWindow(hwnd_);
}

void CXuSkinWindow::Restore() {
  if (!hwnd_) return;
  if (state_ == kMaximized) {
    state_ = kNormal;
    MoveWindow(hwnd_, restoreRect_.left, restoreRect_.top, restoreRect_.right - restoreRect_.left,
               restoreRect_.bottom - restoreRect_.top, TRUE);
  } else if (state_ == kMinimized) {
    state_ = stateBeforeMinimize_;
    ShowWindow(hwnd_, SW_RESTORE);
  }
}

void CXuSkinWindow::Minimize() {
  if (!hwnd_ || state_ == kMinimized) return;
  stateBeforeMinimize_ = state_;
  state_ = kMinimized;
  ShowWindow(hwnd_, SW_MINIMIZE);
}

LRESULT CALLBACK CXuSkinWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CXuSkinWindow*>(GetPropW(hwnd, kSkinProperty));
  auto next = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kNextProperty));
  if (!self) return next ? CallWindowProcW(next, hwnd, message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    LRESULT result = CallWindowProcW(next, hwnd, message, wParam, lParam);
    RemovePropW(hwnd, kSkinProperty);
    RemovePropW(hwnd, kNextProperty);
    self->hwnd_ = nullptr;
    return result;
  }
  try {
    return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    ui::RecordProcedureFault("skin", message);
  }
  // The window's own handling, as for any window procedure (ui/window.h): a hit test the skin could
  // not answer gets the system's answer rather than "nowhere".
  return next ? CallWindowProcW(next, hwnd, message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CXuSkinWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(next_, hwnd_, message, wParam, lParam);
}

void CXuSkinWindow::TrackNonClientLeave() {
  if (trackingLeave_) return;
  TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_NONCLIENT, hwnd_, 0};
  trackingLeave_ = TrackMouseEvent(&track) != FALSE;
}

LRESULT CXuSkinWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCPAINT: {
      ui::WindowDC dc(hwnd_, true);
      PaintFrame(dc.get());
      return 0;
    }
    case WM_NCACTIVATE: {
      // -1: the system draws no frame of its own over the skin (honoured from Windows Vista on).
      LRESULT result = Default(message, wParam, static_cast<LPARAM>(-1));
      active_ = wParam != FALSE;
      RedrawFrame();
      return wParam ? result : TRUE;
    }
    case WM_ACTIVATE: {
      LRESULT result = Default(message, wParam, lParam);
      active_ = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
      RedrawFrame();
      return result;
    }
    case WM_NCCALCSIZE: {
      // Both forms get the skin's frame, so the client area never depends on how it is asked.
      RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      rect->left += leftWidth_;
      rect->top += titleHeight_;
      rect->right -= rightWidth_;
      rect->bottom -= bottomHeight_;
      if (rect->right < rect->left) rect->right = rect->left;
      if (rect->bottom < rect->top) rect->bottom = rect->top;
      if (wParam) reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[1] = *rect;
      return 0;
    }
    case WM_NCHITTEST: {
      RECT window = {};
      GetWindowRect(hwnd_, &window);
      POINT p = ui::PointFromLParam(lParam);  // on the screen
      p.x -= window.left;
      p.y -= window.top;
      return HitTest(p);
    }
    case WM_NCMOUSEMOVE: {
      LRESULT hit = static_cast<LRESULT>(wParam);
      if (IsBorder(hit) || (hit == HTCAPTION && state_ != kMaximized)) Default(message, wParam, lParam);
      TrackNonClientLeave();
      bool changed = hover_ != hit || pressed_ != 0;
      hover_ = hit;
      pressed_ = 0;
      if (changed) RedrawFrame();
      return 0;
    }
    case WM_NCMOUSELEAVE:
      trackingLeave_ = false;
      if (hover_ || pressed_) {
        hover_ = pressed_ = 0;
        RedrawFrame();
      }
      return 0;
    case WM_NCLBUTTONDOWN: {
      LRESULT hit = static_cast<LRESULT>(wParam);
      pressed_ = hover_ = hit;
      RedrawFrame();
      if (IsBorder(hit) || (hit == HTCAPTION && state_ != kMaximized)) return Default(message, wParam, lParam);
      return 0;
    }
    case WM_NCLBUTTONUP: {
      LRESULT hit = static_cast<LRESULT>(wParam);
      pressed_ = hover_ = 0;
      if (hit == HTCLOSE) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
      } else if (hit == HTMINBUTTON) {
        Minimize();
      } else if (hit == HTMAXBUTTON) {
        if (state_ == kMaximized) {
          Restore();
        } else {
          Maximize();
        }
      }
      if (hwnd_ && IsWindow(hwnd_)) RedrawFrame();
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && hadThickFrame_) {
        if (state_ == kMaximized) {
          Restore();
        } else {
          Maximize();
        }
      }
      return 0;
    case WM_NCRBUTTONDOWN:
      if (wParam == HTCAPTION) ShowSystemMenu();
      return 0;
    case WM_NCRBUTTONUP:
      return 0;
    case WM_COMMAND: {
      HMENU menu = GetSystemMenu(hwnd_, FALSE);
      UINT id = LOWORD(wParam);
      if (lParam == 0 && menu && GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        switch (id & 0xFFF0) {
          case SC_MINIMIZE:
            Minimize();
            return 0;
          case SC_RESTORE:
            Restore();
            return 0;
          case SC_CLOSE:
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            return 0;
          case SC_MAXIMIZE:
            return 0;
        }
      }
      return Default(message, wParam, lParam);
    }
    case WM_SIZE: {
      LRESULT result = Default(message, wParam, lParam);
      // Restored from the task bar rather than by the skin: back to the state before.
      if (state_ == kMinimized && wParam != SIZE_MINIMIZED) state_ = stateBeforeMinimize_;
      if (wParam != SIZE_MINIMIZED) {
        RedrawFrame();
        UpdateRegion();
      }
      return result;
    }
    case WM_GETMINMAXINFO: {
      LRESULT result = Default(message, wParam, lParam);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = 1;
      info->ptMinTrackSize.y = 1;
      return result;
    }
    case WM_SETTEXT:
    case WM_SETICON: {
      // The system redraws its own caption for these; the skin's goes back on top.
      LRESULT result = Default(message, wParam, lParam);
      RedrawFrame();
      return result;
    }
  }
  return Default(message, wParam, lParam);
}

void CXuSkinWindow::ShowSystemMenu() {
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  if (!menu) return;
  auto enable = [menu](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_RESTORE, state_ != kNormal);
  enable(SC_MOVE, state_ == kNormal);
  enable(SC_SIZE, state_ == kNormal && hadThickFrame_);
  enable(SC_MINIMIZE, state_ != kMinimized && hadMinimizeBox_);
  enable(SC_MAXIMIZE, false);
  POINT cursor = {};
  GetCursorPos(&cursor);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr);
}

void CXuSkinWindow::RedrawFrame() {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
  ui::WindowDC dc(hwnd_, true);
  PaintFrame(dc.get());
}

void CXuSkinWindow::DrawTitleBar(HDC dc, int width, int row) const {
  const int T = titleHeight_;
  DrawAcross(dc, title_, titleSlice_, row * T, T, leftWidth_, width - rightWidth_, 0);
  // The top of each border closes the strip at its ends.
  if (left_.IsLoaded()) left_.Draw(dc, 0, 0, RECT{row * leftWidth_, 0, (row + 1) * leftWidth_, std::min(T, left_.Height())});
  if (right_.IsLoaded()) {
    right_.Draw(dc, width - rightWidth_, 0,
                RECT{row * rightWidth_, 0, (row + 1) * rightWidth_, std::min(T, right_.Height())});
  }
}

void CXuSkinWindow::DrawButton(HDC dc, const Button& button, LRESULT code, int windowWidth) const {
  if (!button.image.IsLoaded()) return;
  const int cell = CellWidth(button);
  const int height = button.image.Height() / 2;
  int column = pressed_ == code ? 1 : (hover_ == code ? 2 : 0);
  if (column >= buttonCells_) column = 0;
  const int row = active_ ? 0 : 1;
  RECT source = {column * cell, row * height, (column + 1) * cell, (row + 1) * height};
  if (transparency_) {
    button.image.DrawTransparent(dc, windowWidth - button.x, button.y, source, maskColor_);
  } else {
    button.image.Draw(dc, windowWidth - button.x, button.y, source);
  }
}

void CXuSkinWindow::DrawCaption(HDC dc, int width) {
  caption_[0] = L'\0';
  GetWindowTextW(hwnd_, caption_, 260);
  const wchar_t* shown = caption_[0] ? caption_ : product::kCaption;
  ui::Select font(dc, captionFont_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, active_ ? textActive_ : textInactive_);
  RECT r = {textShift_, textShiftVert_, width - topBotHeight_, titleHeight_};
  DrawTextW(dc, shown, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CXuSkinWindow::PaintFrame(HDC windowDC) {
  if (!windowDC) return;
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  const int W = window.right - window.left, H = window.bottom - window.top;
  const int T = titleHeight_;
  const int row = active_ ? 0 : 1;

  {
    ui::SavedDC saved(windowDC);
    ExcludeClipRect(windowDC, 0, 0, W, T);
    DrawDown(windowDC, left_, leftSlice_, row * leftWidth_, leftWidth_, 0, H, 0);
    DrawDown(windowDC, right_, rightSlice_, row * rightWidth_, rightWidth_, 0, H, W - rightWidth_);
    DrawAcross(windowDC, bottom_, bottomSlice_, row * bottomHeight_, bottomHeight_, leftWidth_, W - rightWidth_,
               H - bottomHeight_);
  }
  if (W <= 0 || T <= 0) return;

  ui::MemoryDC strip(CreateCompatibleDC(windowDC));
  ui::Bitmap stripBitmap(CreateCompatibleBitmap(windowDC, W, T));
  if (!strip || !stripBitmap) return;
  ui::Select select(strip.get(), stripBitmap.get());
  DrawTitleBar(strip.get(), W, row);
  DrawButton(strip.get(), close_, HTCLOSE, W);
  DrawButton(strip.get(), MaxOrRestore(), HTMAXBUTTON, W);
  DrawButton(strip.get(), minimize_, HTMINBUTTON, W);

  const int iconW = GetSystemMetrics(SM_CXSMICON), iconH = GetSystemMetrics(SM_CYSMICON);
  HICON icon = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) {
    icon = static_cast<HICON>(LoadImageW(ui::Instance(), MAKEINTRESOURCEW(128), IMAGE_ICON, iconW, iconH, LR_SHARED));
  }
  if (icon) DrawIconEx(strip.get(), leftWidth_, kIconTop, icon, iconW, iconH, 0, nullptr, DI_NORMAL);
  DrawCaption(strip.get(), W);
  BitBlt(windowDC, 0, 0, W, T, strip.get(), 0, 0, SRCCOPY);
}

void CXuSkinWindow::UpdateRegion() {
  if (!hwnd_) return;
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  const int W = window.right - window.left, H = window.bottom - window.top;
  if (W <= 0 || H <= 0) return;
  ui::Region region;
  if (transparency_ && titleHeight_ > 0) {
    ui::WindowDC screen(nullptr);
    ui::MemoryDC dc(CreateCompatibleDC(screen.get()));
    CXuBitmap strip;
    strip.Attach(CreateCompatibleBitmap(screen.get(), W, titleHeight_));
    if (!dc || !strip.IsLoaded()) return;
    {
      ui::Select select(dc.get(), strip.GetSafeHandle());
      // Whatever the images do not cover stays solid.
      RECT all = {0, 0, W, titleHeight_};
      ui::Brush black(CreateSolidBrush(maskColor_ == RGB(0, 0, 0) ? RGB(1, 1, 1) : RGB(0, 0, 0)));
      FillRect(dc.get(), &all, black.get());
      DrawTitleBar(dc.get(), W, 0);
    }
    region.reset(strip.CreateRegion(maskColor_));
    if (!region) return;
    ui::Region body(CreateRectRgn(0, titleHeight_, W, H));
    CombineRgn(region.get(), region.get(), body.get(), RGN_OR);
  } else {
    region.reset(CreateRectRgn(0, 0, W, H));
  }
  if (SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();  // the system owns it now
}

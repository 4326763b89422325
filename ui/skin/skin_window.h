// CXuSkinWindow: paints a window's frame from the theme's images and takes over its non-client
// behaviour — hit testing, the frame buttons, moving, maximizing and minimizing without the system's
// frame, and a window region in which the mask colour of the title bar is see-through.
//
// It subclasses the window outside any framework object the window already has, so it sees the
// frame messages first; everything else goes on to the window's own procedure.
#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/skin/bitmap.h"

class CXuSkinWindow {
 public:
  enum WindowState { kNormal = 0, kMaximized = 1, kMinimized = 2 };

  // The cells of a frame image between its two caps: columns (or rows) [0, capEnd) are the first
  // cap, [capEnd, capStart) the part that is tiled, [capStart, length) the second cap.
  struct Slice {
    int capEnd = 0;
    int capStart = 0;
  };
  // The slice of an image length long whose caps are firstCap and secondCap long; the tiled part
  // is at least one pixel.
  static Slice MakeSlice(int length, int firstCap, int secondCap);

  CXuSkinWindow() = default;
  ~CXuSkinWindow();
  CXuSkinWindow(const CXuSkinWindow&) = delete;
  CXuSkinWindow& operator=(const CXuSkinWindow&) = delete;

  // Subclasses the window, loads the theme, remembers WS_THICKFRAME, WS_MINIMIZEBOX and
  // WS_MAXIMIZEBOX and removes WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX. False when the window
  // could not be subclassed (or already has a skin).
  bool Attach(HWND hwnd);
  // Gives the window its procedure, style and frame back.
  void Detach();
  // Reads the theme file; false when any image it names did not load (the others are used).
  bool LoadTheme();
  bool ThemeComplete() const { return themeComplete_; }

  HWND GetHwnd() const { return hwnd_; }
  // Resizes the window so that its client area is width x height.
  void SetClientSize(int width, int height);

  int TitleHeight() const { return titleHeight_; }
  int LeftWidth() const { return leftWidth_; }
  int RightWidth() const { return rightWidth_; }
  int BottomHeight() const { return bottomHeight_; }
  Slice TitleSlice() const { return titleSlice_; }
  Slice LeftSlice() const { return leftSlice_; }
  Slice RightSlice() const { return rightSlice_; }
  Slice BottomSlice() const { return bottomSlice_; }
  COLORREF MaskColor() const { return maskColor_; }

  // The hit code of a point in window coordinates.
  LRESULT HitTest(POINT windowPoint) const;

  int GetState() const { return state_; }
  bool IsActive() const { return active_; }
  void Maximize();
  void Restore();
  void Minimize();

  void RedrawFrame();
  void UpdateRegion();

 private:
  struct Button {
    CXuBitmap image;
    int x = 0;  // distance of the left edge from the window's right edge
    int y = 0;  // distance of the top edge from the window's top edge
  };

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  void ResetTheme();

  // The button drawn in the maximize place: the restore image while maximized, when there is one.
  const Button& MaxOrRestore() const;
  bool InButton(const Button& button, POINT p, int windowWidth) const;
  int CellWidth(const Button& button) const;
  bool ShowsMaximized() const { return state_ == kMaximized; }

  void PaintFrame(HDC windowDC);
  // The title strip (window width x title height) of one variant, buttons and caption excluded.
  void DrawTitleBar(HDC dc, int width, int row) const;
  void DrawButton(HDC dc, const Button& button, LRESULT code, int windowWidth) const;
  void DrawCaption(HDC dc, int width);
  void ShowSystemMenu();
  void TrackNonClientLeave();

  HWND hwnd_ = nullptr;
  WNDPROC next_ = nullptr;

  CXuBitmap title_, left_, right_, bottom_;
  Button close_, restore_, minimize_, maximize_;
  int titleHeight_ = 0, leftWidth_ = 0, rightWidth_ = 0, bottomHeight_ = 0;
  Slice titleSlice_, leftSlice_, rightSlice_, bottomSlice_;
  int topBotHeight_ = 0;
  int buttonCells_ = 1;
  int textShift_ = 30, textShiftVert_ = 0;
  COLORREF textActive_ = RGB(21, 66, 139), textInactive_ = RGB(160, 160, 160);
  bool transparency_ = true;
  COLORREF maskColor_ = RGB(255, 0, 255);
  bool themeComplete_ = false;
  ui::Font captionFont_;

  bool hadThickFrame_ = false, hadMinimizeBox_ = false, hadMaximizeBox_ = false;
  LONG removedStyle_ = 0;
  int state_ = kNormal;
  int stateBeforeMinimize_ = kNormal;
  RECT restoreRect_ = {};
  bool active_ = false;
  LRESULT hover_ = 0;
  LRESULT pressed_ = 0;
  bool trackingLeave_ = false;
  wchar_t caption_[260] = {};
};

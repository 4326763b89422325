// ui_TabCtrl: the platform tab control with owner-drawn tabs in flat colours, a repainted
// background, an optional image per tab, and a lock that keeps the user from switching tabs while
// a page is busy. The parent reflects WM_DRAWITEM back to it (the framework does).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/gdi.h"
#include "ui/window.h"

class ui_TabCtrl : public ui::Window {
 public:
  ui_TabCtrl() = default;

  // Creates the control as a child of parent (the tab control's own class).
  HWND Create(HWND parent, const RECT& rect, DWORD style, UINT id);
  // Takes over a tab control of a dialog template.
  bool Attach(HWND tab);

  void SetColors(COLORREF selectedBackground, COLORREF normalBackground, COLORREF clientBackground, COLORREF text,
                 COLORREF stripBackground);
  // A face name selects a font of its own for the tabs; empty keeps the control's font.
  void SetTabFont(const wchar_t* face, int height, int weight);
  void SetLocked(bool locked) { locked_ = locked; }
  bool IsLocked() const { return locked_; }

  int TabHeight() const { return tabHeight_; }
  COLORREF SelectedBackground() const { return selectedBackground_; }
  COLORREF NormalBackground() const { return normalBackground_; }
  COLORREF ClientBackground() const { return clientBackground_; }
  COLORREF StripBackground() const { return stripBackground_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Measure();
  void Paint(HDC dc);
  void DrawTab(const DRAWITEMSTRUCT& item);

  int tabHeight_ = 0;
  int frameHeight_ = 0;
  COLORREF clientBackground_ = RGB(255, 255, 255);
  COLORREF textColor_ = GetSysColor(COLOR_BTNTEXT);
  COLORREF normalBackground_ = GetSysColor(COLOR_BTNFACE);
  COLORREF selectedBackground_ = RGB(255, 255, 255);
  COLORREF stripBackground_ = RGB(255, 255, 255);
  std::wstring fontFace_;
  int fontHeight_ = 0;
  int fontWeight_ = 0;
  ui::Font tabFont_;
  bool locked_ = false;
};

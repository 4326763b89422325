// CStartDlg: the splash. While it shows, it sends the main window one preload message per page,
// 100 ms apart, so every page except the home page exists (hidden) before the main window appears.
#pragma once
#include <windows.h>

#include <string>

#include "app/page_table.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"

// Sent by the splash to the main window while it waits out a pause: do one small piece of the
// start-up work that would otherwise follow the splash. Answer 1 when there may be more, else 0.
constexpr UINT kSplashIdleMessage = WM_APP + 0x40;

class CStartDlg : public ui::Dialog {
 public:
  static constexpr int kWidth = 516;
  static constexpr int kHeight = 275;
  static constexpr DWORD kPreloadSpacingMs = 100;

  // main receives the preload messages of table, in the table's order.
  CStartDlg(HWND main, PageTable table = DefaultPageTable());

  const std::wstring& StatusText() const { return status_; }
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnCommand(int id, int code, HWND control) override;
  void RunPreload();
  void ReleaseResources();

  HWND main_;
  PageTable table_;
  int ticks_ = 0;
  std::wstring status_;
  ui::GpBitmap background_;
  ui::Bitmap offscreen_;  // 32-bit, the splash is composed here and copied in one go
  ui::Font font_;
};

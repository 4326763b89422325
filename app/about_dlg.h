// CAboutDlg: the skinned about box opened from the banner's "About" link: the product name and
// version, the ownership and legal notices, and links to the web site and to support.
#pragma once
#include <windows.h>

#include "ui/controls/hyperlink.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/skin/skin_window.h"

class CAboutDlg : public ui::Dialog {
 public:
  CAboutDlg();

  CXuSkinWindow& Skin() { return skin_; }
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnCommand(int id, int code, HWND control) override;

  ui::GpBitmap shortLine_;
  ui::GpBitmap longLine_;
  ui::Font boldFont_;
  ui::Font regularFont_;
  CHyperLink website_;
  CHyperLink support_;
  ui::Icon icon_;
  CXuSkinWindow skin_;
};

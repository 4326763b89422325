#include "app/about_dlg.h"

#include <string>

#include "app/placement.h"
#include "app/resource.h"
#include "base/product.h"
#include "ui/paint.h"

namespace {

const wchar_t kOwnership[] = L"Copyright \u00A9 2009-2026 Lumaspan Software. All rights reserved.";
const wchar_t kLegal[] =
    L"Lumaspan is licensed to you, not sold. You may install it and use it on the computers you own "
    L"or look after. Copying, changing, selling or passing on the program or any part of it without "
    L"the written consent of Lumaspan Software is not permitted.\r\n\r\n"
    L"Lumaspan changes the registry and deletes files at your request. It is provided as it is, "
    L"without warranty of any kind: keep a backup of your important data before you clean or repair "
    L"your system.";

}  // namespace

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUT) {}

bool CAboutDlg::OnInitDialog(HWND) {
  RECT client = {};
  GetClientRect(hwnd(), &client);  // the template's size, before the skin's frame replaces the system's
  skin_.Attach(hwnd());
  skin_.SetClientSize(client.right, client.bottom);

  shortLine_ = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Line_Short.png");
  longLine_ = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Line_Long.png");
  boldFont_.reset(ui::MakeFont(L"MS Sans Serif", 10, FW_BOLD));
  regularFont_.reset(ui::MakeFont(L"MS Sans Serif", 10));
  icon_.reset(static_cast<HICON>(LoadImageW(ui::Instance(), MAKEINTRESOURCEW(IDI_LUMASPAN), IMAGE_ICON, 48, 48, 0)));

  CenterOnOwner(hwnd());
  SetDlgItemTextW(hwnd(), IDC_ABOUT_NAME, (std::wstring(L"Lumaspan ") + product::kVersion).c_str());
  SendDlgItemMessageW(hwnd(), IDC_ABOUT_NAME, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
  SetDlgItemTextW(hwnd(), IDC_ABOUT_OWNER, kOwnership);
  SetDlgItemTextW(hwnd(), IDC_ABOUT_LEGAL, kLegal);
  website_.Attach(Item(IDC_WEBSITE));
  website_.SetLink(product::kWebAddress, product::kWebSite);
  support_.Attach(Item(IDC_SUPPORT));
  support_.SetLink(product::kSupportAddress, product::kSupportMail);
  return true;
}

void CAboutDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (icon_) DrawIconEx(dc, 16, 14, icon_.get(), 48, 48, 0, nullptr, DI_NORMAL);
  Gdiplus::Graphics g(dc);
  // Under the name block, and above the links.
  RECT owner = {};
  if (HWND control = Item(IDC_ABOUT_OWNER)) {
    GetWindowRect(control, &owner);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&owner), 2);
    if (ui::Usable(shortLine_.get())) g.DrawImage(shortLine_.get(), static_cast<INT>(owner.left), static_cast<INT>(owner.bottom + 6));
  }
  RECT label = {};
  if (HWND control = Item(IDC_ABOUT_WEBSITE_LABEL)) {
    GetWindowRect(control, &label);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&label), 2);
    if (ui::Usable(longLine_.get())) {
      int width = static_cast<int>(longLine_->GetWidth());
      g.DrawImage(longLine_.get(), (client.right - width) / 2, static_cast<INT>(label.top - 10));
    }
  }
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      return true;
    case WM_DESTROY:
      shortLine_.reset();
      longLine_.reset();
      boldFont_.reset();
      regularFont_.reset();
      return false;
  }
  return false;
}

bool CAboutDlg::OnCommand(int id, int, HWND) {
  if (id != IDOK && id != IDCANCEL) return false;
  EndDialog(1);
  return true;
}

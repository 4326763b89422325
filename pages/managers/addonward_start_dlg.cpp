#include "pages/managers/addonward_start_dlg.h"

#include <string>

#include "base/product.h"
#include "contracts/addonward.h"
#include "contracts/tools.h"
#include "pages/common/page_look.h"
#include "pages/managers/addonward_ids.h"
#include "ui/controls/page_colours.h"
#include "ui/link_cursor.h"
#include "ui/page_frame.h"
#include "ui/paint.h"

namespace {

constexpr COLORREF kLinkGreen = RGB(0, 128, 0);

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

void Text(HDC dc, HFONT font, COLORREF colour, int x, int y, const wchar_t* text) {
  ui::Select selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  TextOutW(dc, x, y, text, static_cast<int>(wcslen(text)));
}

std::wstring NotRemovedText(int failed) {
  return std::to_wstring(failed) + (failed == 1 ? L" add-on could not be removed." : L" add-ons could not be removed.");
}

}  // namespace

CAddonwardStartDlg::CAddonwardStartDlg()
    : ui::Page(IDD_ADDONWARD_START),
      normal_(ui::MakeFont(L"MS Sans Serif", 10)),
      link_(ui::MakeFont(L"MS Sans Serif", 10, FW_NORMAL, true)),
      bold_(ui::MakeFont(L"MS Sans Serif", 10, FW_BOLD)) {}

bool CAddonwardStartDlg::OnInitDialog(HWND) {
  POINT at = CheckWindowsVersion() == 5 ? POINT{8, 53} : POINT{6, 56};
  RECT rect = {at.x, at.y, at.x + kListSize.cx, at.y + kListSize.cy};
  list_.Create(hwnd(), rect, L"",
               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_VISIBLE | WS_TABSTOP,
               WS_EX_CLIENTEDGE, IDC_ADDONWARD_LIST);
  list_.InsertColumn(0, L"Name", 160);
  list_.InsertColumn(1, L"Type", 100);
  list_.InsertColumn(2, L"File Path", 250);
  Refill();
  SendMessageW(Item(IDC_ADDONWARD_SELECT_ALL), WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
  common_pages::SkinButton(hwnd(), IDC_ADDONWARD_REMOVE, remove_, L"Res\\Common\\QOR_Button_Remove.bmp");
  return true;
}

void CAddonwardStartDlg::Refill() {
  list_.DeleteAllRows();
  addons_ = addon_list::Collect();
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  for (const addon_list::Addon& addon : addons_) {
    int row = list_.AddRow(addon.name.c_str());
    list_.SetText(row, 1, addon.type.c_str());
    list_.SetText(row, 2, addon.path.c_str());
  }
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

void CAddonwardStartDlg::OnRemove() {
  std::vector<addon_list::Addon> chosen;
  int rows = list_.RowCount();
  for (int row = 0; row < rows && static_cast<size_t>(row) < addons_.size(); ++row)
    if (list_.IsChecked(row)) chosen.push_back(addons_[static_cast<size_t>(row)]);
  if (chosen.empty()) {
    MessageBoxW(MainWindow(), L"Please choose one of the list above to remove the item.", product::kCaption,
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MessageBoxW(MainWindow(), L"Are you sure to remove the item?", product::kCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  int failed = 0;
  for (const addon_list::Addon& addon : chosen)
    if (AddonwardRemoveBHO(addon.key.c_str(), addon.type.c_str()) != 1) ++failed;
  Refill();
  if (failed == 0)
    MessageBoxW(MainWindow(), L"Remove Completed.", product::kCaption, MB_OK | MB_ICONINFORMATION);
  else
    MessageBoxW(MainWindow(), NotRemovedText(failed).c_str(), product::kCaption, MB_OK | MB_ICONWARNING);
}

bool CAddonwardStartDlg::OnLink(POINT client) {
  return Inside(kSelectAllLink, client) || Inside(kClearAllLink, client);
}

void CAddonwardStartDlg::OnButtonDown(POINT client) {
  if (Inside(kSelectAllLink, client)) list_.SetAllChecked(true);
  if (Inside(kClearAllLink, client)) list_.SetAllChecked(false);
}

void CAddonwardStartDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
  Text(dc, normal_.get(), RGB(0, 0, 0), 8, 19,
       L"Features:Remove the items from BHO List to get high-speed Internet Explorer Run.");
  Text(dc, link_.get(), kLinkGreen, 25, 400, L"Select All");
  Text(dc, link_.get(), kLinkGreen, 100, 400, L"Clear All");
}

bool CAddonwardStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result, &OnLink)) return true;
  switch (message) {
    case WM_MOUSELEAVE:
      result = 0;
      return true;
  }
  return false;
}

bool CAddonwardStartDlg::OnMouse(UINT message, POINT at, WPARAM) {
  if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_LBUTTONDBLCLK &&
      message != WM_RBUTTONDBLCLK)
    return false;
  OnButtonDown(at);
  return true;
}

bool CAddonwardStartDlg::OnClicked(int id) {
  return Clicked(*this, id,
                 {{IDC_ADDONWARD_REMOVE, &CAddonwardStartDlg::OnRemove},
                  {IDC_ADDONWARD_SELECT_ALL, &CAddonwardStartDlg::OnSelectAll}});
}

void CAddonwardStartDlg::OnSelectAll() {
  list_.SetAllChecked(IsDlgButtonChecked(hwnd(), IDC_ADDONWARD_SELECT_ALL) == BST_CHECKED);
}

#include "pages/options/options_tab1_dlg.h"

#include "base/product.h"
#include "pages/options/options_ids.h"
#include "ui/controls/page_colours.h"

COptionsTab1Dlg::COptionsTab1Dlg() : ui::Dialog(IDD_OPTIONS_TAB1) {}

void COptionsTab1Dlg::DoDataExchange(bool save) {
  ExchangeCheck(IDC_STARTUP_RUN, startupRun_, save);
  ExchangeCheck(IDC_LIVE_UPDATE, liveUpdate_, save);
}

bool COptionsTab1Dlg::OnInitDialog(HWND) {
  UpdateData(false);
  website_.Attach(Item(IDC_OPTIONS_WEBSITE));
  website_.SetLink(product::kWebAddress, product::kWebSite);
  support_.Attach(Item(IDC_OPTIONS_SUPPORT));
  support_.SetLink(product::kSupportAddress, product::kSupportMail);
  update_.Bind(Item(IDC_CHECK_UPDATE));
  update_.Load(L"Res\\Common\\QOR_Button_Update.bmp");
  return true;
}

void COptionsTab1Dlg::OnBoxClicked(int id, UINT message) {
  WPARAM state = SendDlgItemMessageW(hwnd(), id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  // A store that failed must not leave the box showing a setting that is not in effect.
  LRESULT stored = SendMessageW(GetParent(hwnd()), message, state, 0);
  CheckDlgButton(hwnd(), id, stored ? BST_CHECKED : BST_UNCHECKED);
  UpdateData(true);
}

bool COptionsTab1Dlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  return false;
}

bool COptionsTab1Dlg::OnClicked(int id) {
  switch (id) {
    case IDC_STARTUP_RUN:
      OnBoxClicked(IDC_STARTUP_RUN, OPTIONS_MSG_STARTUP_RUN);
      return true;
    case IDC_LIVE_UPDATE:
      OnBoxClicked(IDC_LIVE_UPDATE, OPTIONS_MSG_LIVE_UPDATE);
      return true;
    case IDC_CHECK_UPDATE:
      SendMessageW(GetParent(hwnd()), OPTIONS_MSG_CHECK_UPDATE, 0, 0);
      return true;
  }
  return false;
}

// COptionsDlg: the options page (60400). A title with the day's greeting, a tab control with the
// tabs "General Settings" (COptionsTab1Dlg) and "Exclusions" (COptionsExclusionsDlg), the two
// settings kept through the Options library, and the update check on demand.
#pragma once
#include <windows.h>

#include "pages/options/options_exclusions_dlg.h"
#include "pages/options/options_tab1_dlg.h"
#include "pages/options/update_check.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/menu/tab_ctrl.h"
#include "ui/page.h"

class COptionsDlg : public ui::Page {
 public:
  COptionsDlg();

  COptionsTab1Dlg& Tab1() { return tab1_; }
  COptionsExclusionsDlg& ExclusionsTab() { return exclusions_; }
  // Shows a tab (0 "General Settings", 1 "Exclusions") as a click on it does.
  void ShowTab(int tab);
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The check a click on "Check for Update" starts.
  virtual options_page::UpdateRequest NewUpdateRequest() const;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

  ui::GpBitmap top_;
  ui::Font titleFont_;
  ui::Font regularFont_;
  ui_TabCtrl tab_;
  COptionsTab1Dlg tab1_;
  COptionsExclusionsDlg exclusions_;
};

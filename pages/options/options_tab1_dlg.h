// COptionsTab1Dlg: the "General Settings" tab of the options page: the two settings' check boxes,
// the "Check for Update" button and the links to the web site and to support. It stores nothing
// itself: every click goes to the page, which keeps the settings through the Options library.
#pragma once
#include <windows.h>

#include "ui/controls/hyperlink.h"
#include "ui/controls/skin_button.h"
#include "ui/dialog.h"

class COptionsTab1Dlg : public ui::Dialog {
 public:
  COptionsTab1Dlg();

  // The states the boxes show when the tab is made.
  void SetFlags(int startupRun, int liveUpdate) {
    startupRun_ = startupRun ? 1 : 0;
    liveUpdate_ = liveUpdate ? 1 : 0;
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DoDataExchange(bool save) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnClicked(int id) override;
  // Tells the page about a clicked box and shows what the page stored.
  void OnBoxClicked(int id, UINT message);

  int startupRun_ = 0;
  int liveUpdate_ = 0;
  CHyperLink website_;
  CHyperLink support_;
  ui::CSkinButton update_;
};

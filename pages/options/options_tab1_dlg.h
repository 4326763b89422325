// COptionsTab1Dlg: the "General Settings" tab of the options page: the two settings' check boxes,
// the "Check for Update" button, the links to the web site and to support, and automatic cleaning.
// The two settings go to the page, which keeps them through the Options library; automatic cleaning
// is registered with the Task Scheduler here (clean_schedule.h) and shown as it was stored.
#pragma once
#include <windows.h>

#include "pages/options/clean_schedule.h"
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
  bool OnCommand(int id, int code, HWND control) override;
  bool OnClicked(int id) override;
  // Tells the page about a clicked box and shows what the page stored.
  void OnBoxClicked(int id, UINT message);
  void OnStartupRun();
  void OnLiveUpdate();
  // The page checks for an update.
  void OnCheckUpdate();
  // Shows a schedule; the choices below the box are live only while it is checked.
  void ShowSchedule();
  // Registers, changes or removes the task for what the controls show; on failure says why and
  // shows the stored schedule again.
  void OnScheduleChanged();

  int startupRun_ = 0;
  int liveUpdate_ = 0;
  options_page::CleanSchedule schedule_;
  CHyperLink website_;
  CHyperLink support_;
  ui::CSkinButton update_;
};

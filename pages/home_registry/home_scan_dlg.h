// CHomeScanDlg: the progress and then the results of the one-click scan. A tab per group, each with
// its own result list, and an "Overall" tab with one summary line per group; while the scan runs,
// the item being examined, the current group's and the whole scan's progress bars and Abort.
//
// The home page (CHomeStartDlg) feeds it every report and keeps what was found; this page only
// shows. Abort goes to the home page, whose scan session asks "Are you sure to stop scanning?" while
// the worker waits at its report.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "pages/home_registry/home_list_view.h"
#include "pages/home_registry/one_click.h"
#include "ui/controls/image_list_box.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/menu/tab_ctrl.h"
#include "ui/page.h"

class CHomeScanDlg : public ui::Dialog {
 public:
  static constexpr RECT kTabRect = {8, 36, 8 + 556, 36 + 301};
  static constexpr RECT kListRect = {10, 63, 10 + 551, 63 + 270};
  static constexpr POINT kRepairAllAt = {415, 373};
  static constexpr POINT kBackAt = {236, 373};
  // Rows arrive by the thousand: they are listed, and the examined text shown, on this timer.
  static constexpr UINT_PTR kRefreshTimer = 1;

  CHomeScanDlg();
  ~CHomeScanDlg() override;

  void SetOwner(HWND owner) { owner_ = owner; }
  // What Abort does: the home page asks whether to stop its scan.
  void SetAbort(std::function<void()> abort) { onAbort_ = std::move(abort); }
  // How many groups this scan covers, and a group's tick divisor (fixed drives, control lines).
  void SetSelected(int groups) { tally_.selected = groups; }
  void SetDivisor(int group, int divisor);
  void LockTabs(bool locked) { tabs_.SetLocked(locked); }

  // What the home page passes on from the reports.
  void ShowExamined(const std::wstring& text) { examined_ = text; }
  void AddRow(int group, const std::wstring& first, const std::wstring& second, const std::wstring& third);
  void CountItem(int group);
  // A row the user ignored: out of the group's count.
  void UncountItem(int group);
  void Tick(int group);
  void GroupFinished();
  // Selects a group's tab (0: "Overall") and shows its list; a start marker also marks it begun.
  void ShowGroup(int group, bool begins);

  // The end of the scan: the status text, the result layout, "Overall" with its summary.
  void SetStatusText(const std::wstring& text);
  void ShowResultLayout();
  void FillOverall(const one_click::Groups& groups);

  const one_click::Tally& tally() const { return tally_; }
  int shownGroup() const { return shown_; }
  CHomeListView& list(int group) { return lists_[group]; }
  HWND summary() const { return summary_.hwnd(); }
  bool tabsLocked() const { return tabs_.IsLocked(); }
  int groupBar() const;
  int wholeBar() const;

  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  bool OnClicked(int id) override;
  void OnAbort();
  // The home page repairs everything found, or returns to its start view.
  void OnRepairAll();
  void OnBack();
  void Refresh();
  void SetBar(int id, int percent);
  Gdiplus::Image* IconFor(one_click::SummaryIcon icon) const;

  HWND owner_ = nullptr;
  std::function<void()> onAbort_;
  one_click::Tally tally_;
  int current_ = 0;  // the group under way
  int shown_ = 0;    // the tab shown
  std::wstring examined_, examinedShown_;
  int groupBarShown_ = -1, wholeBarShown_ = -1;  // what the bars were last set to
  DWORD barMovedAt_ = 0;                           // tick count of the group bar's last step

  ui_TabCtrl tabs_;
  CHomeListView lists_[one_click::kGroups + 1];  // index 0 unused
  ui::CImageListBox summary_;
  ui::CSkinButton abort_, repairAll_, back_;
  ui::GpBitmap cleanIcon_, foundIcon_, messageIcon_, top_;
  ui::Font normal_;
};

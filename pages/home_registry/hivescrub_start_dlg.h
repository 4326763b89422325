// CHivescrubStartDlg: the registry cleaner's page (60101) and the controller of its whole flow.
// The user picks among the engine's fifteen categories and starts a scan; the page then hides
// behind its scan page (CHivescrubScanDlg), runs the engine on a worker thread, takes every report,
// keeps the problems found, shows them on its results page (CHivescrubResultsDlg) and repairs them
// one by one when that page asks.
//
// View states: 60101 start view; 60111 scanning (scan page shown); 60121 results shown. Back or
// Clean (60131), or leaving the page (ResetToStart), returns to the start view.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handles.h"
#include "pages/common/scan_session.h"
#include "pages/home_registry/hivescrub_results_dlg.h"
#include "pages/home_registry/hivescrub_scan_dlg.h"
#include "pages/home_registry/registry_scan.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/page.h"
#include "ui/skin/bitmap.h"

class CHivescrubStartDlg : public ui::Page {
 public:
  static constexpr UINT kStartView = 60101;
  static constexpr UINT kScanningView = 60111;
  static constexpr UINT kResultsView = 60121;
  // The check box of each category 1-15 (index 0 unused).
  static const int kCheckIds[registry_scan::kCategories + 1];
  // The two links under the list (left and top edges inside, right and bottom outside).
  static constexpr RECT kSelectAllLink = {22, 400, 74, 418};
  static constexpr RECT kClearAllLink = {97, 400, 146, 418};

  CHivescrubStartDlg();
  ~CHivescrubStartDlg() override;

  void ResetToStart() override;

  UINT viewState() const { return view_; }
  // The categories of the last scan started (all, before the first).
  const registry_scan::Selection& selection() const { return selection_; }
  const std::vector<registry_scan::RegistryProblem>& problems() const { return problems_; }
  CHivescrubScanDlg* scanPage() const { return scan_.get(); }
  CHivescrubResultsDlg* resultsPage() const { return results_.get(); }

  // Renders the page's own painting into dc.
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DoDataExchange(bool save) override;

 private:
  bool OnInitDialog(HWND focus) override;
  bool OnClicked(int id) override;
  bool OnMouse(UINT message, POINT at, WPARAM keys) override;
  void OnStartScan();
  void OpenScan();
  LRESULT OnReport(const COPYDATASTRUCT* data);
  void OnScanEnded(WPARAM serial);
  void AbortScan();
  void ShowResults();
  // The engine's result for problem index (0 when there is none).
  LRESULT Repair(LPARAM index);
  // A repaired problem whose row the results page takes off.
  void ForgetProblem(LPARAM index);
  void OnBack();

  void SetAllBoxes(bool checked);
  void OnButtonDown(POINT client, bool left);
  static bool OnLink(POINT client);
  // The caption of category c, as a rectangle a click toggles the category in.
  RECT CaptionRect(int category) const;
  POINT PageOrigin() const;
  HWND MainWindow() const { return GetParent(hwnd()); }

  int checks_[registry_scan::kCategories + 1];
  int selectAll_ = 1;
  registry_scan::Selection selection_;
  UINT view_ = kStartView;
  std::unique_ptr<CHivescrubScanDlg> scan_;
  std::unique_ptr<CHivescrubResultsDlg> results_;
  std::vector<registry_scan::RegistryProblem> problems_;

  common_pages::ScanSession session_;

  CXuBitmap panel_;
  ui::Font normal_, link_;
  ui::CSkinButton startScan_;
};

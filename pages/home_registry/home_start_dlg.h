// CHomeStartDlg: the home page (60100) and the controller of the one-click scan. Its start view
// shows the health found by the last scan; "Start Scan" runs the six groups (registry, junk files,
// traces, file associations, browser settings, unsafe controls) on one worker thread behind the
// scan page (CHomeScanDlg). The page takes every report, keeps what was found (one list per group,
// each item the pair a repair needs), scores the computer's health and repairs everything on
// Repair All.
//
// View states: 60100 start view; 60110 scan page open (scanning, then its results). Back, Repair
// All, or leaving the page (ResetToStart) return to the start view.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/handles.h"
#include "pages/common/scan_session.h"
#include "pages/home_registry/home_scan_dlg.h"
#include "pages/home_registry/one_click.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/page.h"

class CHomeStartDlg : public ui::Page {
 public:
  static constexpr UINT kStartView = 60100;
  static constexpr UINT kScanningView = 60110;
  static const int kGroupIds[one_click::kGroups + 1];
  static constexpr RECT kHelpPress = {378, 305, 438, 320};
  static constexpr RECT kHelpCursor = {408, 305, 438, 320};
  // A short pause after each of the first junk files and traces of a scan lets the user watch
  // the lists fill; past kPausedItems they come at full speed, as on the cleaner pages.
  static constexpr DWORD kItemPauseMs = 6;
  static constexpr size_t kPausedItems = 300;
  using Found = std::pair<std::wstring, std::wstring>;

  CHomeStartDlg();
  ~CHomeStartDlg() override;

  void ResetToStart() override;

  UINT viewState() const { return view_; }
  CHomeScanDlg* scanPage() const { return scan_.get(); }
  const std::vector<Found>& found(int group) const { return lists_[group]; }
  const std::vector<std::wstring>& fixedDrives() const { return drives_; }
  // The pause after each junk file or trace taken (tests and benchmarks shorten it).
  void SetItemPause(DWORD ms) { itemPauseMs_ = ms; }
  // How many item pauses the current (or last) scan has taken.
  size_t PausesTaken() const { return pausesTaken_; }
  // The texts of the status block as painted now.
  std::vector<one_click::StatusText> StatusBlock() const;

  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DoDataExchange(bool save) override;
  // Opens the product's help page in the browser.
  virtual void OpenHelp();

 private:
  bool OnInitDialog(HWND focus) override;
  bool OnClicked(int id) override;
  bool OnMouse(UINT message, POINT at, WPARAM keys) override;
  void OnStartScan();
  void OpenScan();
  LRESULT OnReport(const COPYDATASTRUCT* data);
  void TakeItem(int group, const std::wstring& text);
  void TakeFile(int group, const std::wstring& text);
  void OnScanEnded(WPARAM serial);
  void AbortScan();
  // The scan is over (ended, stopped, or never started): the result layout.
  void Finish();
  void OnRepairAll();
  void ForgetIgnored(WPARAM group, LPARAM row);
  void StoreScore();
  int RepairGroup(int group);
  void OnBack();
  HWND MainWindow() const { return GetParent(hwnd()); }

  int checks_[one_click::kGroups + 1];
  int selectAll_ = 1;
  one_click::Groups groups_;
  UINT view_ = kStartView;
  std::unique_ptr<CHomeScanDlg> scan_;
  std::array<std::vector<Found>, one_click::kGroups + 1> lists_;
  std::vector<std::wstring> drives_;
  DWORD itemPauseMs_ = kItemPauseMs;
  size_t pausesTaken_ = 0;

  common_pages::ScanSession session_;
  bool finished_ = false;  // the scan page shows its results

  ui::GpBitmap picture_;
  ui::Font normal_, title_;
  ui::CSkinButton startScan_;
};

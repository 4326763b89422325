// What the trace and junk cleaner start pages share: the page that controls a scan. It shows what
// can be scanned (the derived page's tree or list) with the "Select All" and "Clear All" links and
// the "Start Scan" button; it starts the scan, receives every report of it, keeps the items found,
// and owns the result page and the worker for the time of a scan and its cleaning.
//
// States: idle (the page's identifier) or scanning (its start message), the latter from the moment
// the result page opens until the user goes back or leaves.
//
// Its scans are controlled by a ScanSession (pages/common/scan_session.h): the worker, the serials,
// the abort question and the reply to every report (report_reply in contracts/messages.h): kGoOn
// when taken; kResend while "Are you sure to stop scanning?" is open or the result page is being
// made, so the worker waits at its next report; kStop once the scan was stopped or is over, or
// when no scan of this page is running, so the engine ends at once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pages/cleaning/found_items.h"
#include "pages/common/page_look.h"
#include "pages/common/report_relay.h"
#include "pages/cleaning/results_dlg.h"
#include "pages/common/scan_job.h"
#include "pages/common/scan_session.h"
#include "ui/controls/skin_button.h"
#include "ui/page.h"

namespace cleaning_pages {

class CCleaningStartDlg : public ui::Page, private CCleaningResultsDlg::Owner {
 public:
  struct Setup {
    UINT templateId;
    UINT idleState;        // also the page's identifier
    UINT startMessage;     // posted by Start Scan; the scanning state
    UINT finishedMessage;  // the worker's end message
    UINT backMessage;      // from the result page
    ULONG_PTR itemKind;    // the engine's item report
    ULONG_PTR tickKind;    // the worker's report before each category or drive
    const wchar_t* features;
    const wchar_t* nothingSelected;  // the notice when Start Scan finds nothing chosen
    // The engine's last-scan bookkeeping.
    int(WINAPI* setLastScanTime)();
    int(WINAPI* setLastScanDate)();
    int(WINAPI* getLastScanDate)(wchar_t* out);
  };

  static constexpr RECT kSelectAllLink = {22, 400, 74, 418};
  static constexpr RECT kClearAllLink = {97, 400, 146, 418};
  static constexpr RECT kChoiceRect = {10, 50, 563, 384};  // the tree or the drive list
  // A short pause after each of the first items of a scan lets the user watch the list fill; a
  // large scan would wait minutes on pauses alone, so items past kPausedItems come at full speed.
  static constexpr DWORD kItemPauseMs = 6;
  static constexpr size_t kPausedItems = kPacedItems;

  explicit CCleaningStartDlg(const Setup& setup);
  ~CCleaningStartDlg() override;

  // Destroys the result page, stops a running scan, and shows the idle view again.
  void ResetToStart() override;

  UINT State() const { return state_; }
  CCleaningResultsDlg* ResultPage() const { return results_.get(); }
  // Every item the scan found; the result page lists those not removed since.
  const std::vector<FoundItem>& FoundItems() const { return found_; }
  // The size of the items listed.
  uint64_t TotalSize() const { return total_; }
  // The text beside "Last Scan Time:".
  const std::wstring& LastScanText() const { return lastScan_; }
  // The pause after each item found (tests and benchmarks shorten it; the program keeps 6 ms).
  void SetItemPause(DWORD ms) { itemPauseMs_ = ms; }
  // How many item pauses the current (or last) scan has taken.
  size_t PausesTaken() const { return pausesTaken_; }
  // The items a new scan's relay hands on one at a time: those the page pauses after, if any.
  size_t PacedItems() const { return itemPauseMs_ ? kPausedItems : 0; }

 protected:
  // The derived page's part.
  virtual void OnInitPage() = 0;  // makes the tree or list inside kChoiceRect
  virtual void CheckAll(bool checked) = 0;
  // Takes the choice from the controls into the inputs of the next scan; false when nothing is chosen.
  virtual bool PrepareScan() = 0;
  virtual std::shared_ptr<ScanJob> MakeJob() = 0;
  virtual std::unique_ptr<CCleaningResultsDlg> MakeResultPage() = 0;
  // True when the engine removed the item.
  virtual bool CleanItem(const FoundItem& item) = 0;
  // The result page is open and the scan about to start.
  virtual void OnScanOpened() {}
  // A report other than an item: the worker's tick or the engine's progress text.
  virtual void OnProgress(ULONG_PTR kind, std::wstring_view text) = 0;
  // The page is shown again.
  virtual void OnShown() {}
  // Once the user has confirmed a clean: the page may keep some of the checked items out of it
  // (their rows stay listed). Nothing is cleaned when it returns false or leaves no item.
  virtual bool ConfirmCleaning(std::vector<size_t>* /*items*/) { return true; }
  // What the page adds to the notice of the items a clean left (empty: nothing).
  virtual std::wstring LeftBehindNote() { return std::wstring(); }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  const PageFonts& fonts() const { return fonts_; }

 private:
  bool OnInitDialog(HWND focus) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnClicked(int id) override;
  bool OnMouse(UINT message, POINT at, WPARAM keys) override;
  void Paint(HDC dc);
  void OnStartScan();
  void OnStartMessage();
  void OnWorkerEnded(WPARAM serial);
  void EndScan(bool aborted);
  LRESULT Verdict() const { return session_.Verdict(); }
  LRESULT OnReport(const COPYDATASTRUCT* data);
  LRESULT OnRelayedReports(const RelayedReport* reports, size_t count);
  void AddItem(std::wstring_view text);
  void LockMenu(bool lock);
  bool Scanning() const;
  std::wstring ReadLastScanDate() const;

  // CCleaningResultsDlg::Owner
  void AbortScan() override;
  void CleanChecked() override;
  const FoundItem* FoundAt(size_t index) const override { return index < found_.size() ? &found_[index] : nullptr; }

  const Setup setup_;
  UINT state_;
  std::unique_ptr<CCleaningResultsDlg> results_;
  std::vector<FoundItem> found_;
  uint64_t total_ = 0;
  ScanSession session_;
  bool startPosted_ = false;
  bool menuLocked_ = false;
  DWORD itemPauseMs_ = kItemPauseMs;
  size_t pausesTaken_ = 0;
  bool inBatch_ = false, headerDue_ = false;  // a batch repaints the header once, at its end
  std::wstring lastScan_;
  PageFonts fonts_;
  ui::CSkinButton start_;
};

}  // namespace cleaning_pages

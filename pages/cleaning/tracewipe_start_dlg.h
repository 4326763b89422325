// CTracewipeStartDlg: the privacy-trace ("evidence") cleaner page. The user ticks categories in a
// tree of seven groups and 53 categories; a scan calls Tracewipe once per category on a worker, and
// its result page lists what was found for the user to clean.
//
// A click on a group's check box sets all of the group's categories to the group's new state; a
// click on a category changes only that category.
//
// Saved passwords cannot be restored: a clean whose checked rows hold some asks once more, and
// Cancel leaves those rows and cleans the rest. A running browser keeps its files: they stay, and
// the notice after the clean names each browser to close.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "pages/cleaning/cleaning_start_dlg.h"
#include "pages/cleaning/trace_categories.h"
#include "pages/cleaning/tracewipe_scan_dlg.h"
#include "ui/gdi.h"

class CTracewipeStartDlg : public cleaning_pages::CCleaningStartDlg {
 public:
  CTracewipeStartDlg();
  ~CTracewipeStartDlg() override;

  HWND Tree() const;
  HTREEITEM GroupNode(int group) const;
  HTREEITEM CategoryNode(int index) const;
  bool IsNodeChecked(HTREEITEM node) const;
  void SetNodeChecked(HTREEITEM node, bool checked);
  // The category list of the last scan start (33 entries, index = category).
  const std::vector<cleaning_pages::TraceCategory>& Categories() const { return categories_; }
  CTracewipeScanDlg* ScanPage() const { return static_cast<CTracewipeScanDlg*>(ResultPage()); }

 protected:
  void OnInitPage() override;
  void CheckAll(bool checked) override;
  bool PrepareScan() override;
  std::shared_ptr<cleaning_pages::ScanJob> MakeJob() override;
  std::unique_ptr<cleaning_pages::CCleaningResultsDlg> MakeResultPage() override;
  bool CleanItem(const cleaning_pages::FoundItem& item) override;
  void OnScanOpened() override;
  void OnProgress(ULONG_PTR kind, std::wstring_view text) override;
  bool ConfirmCleaning(std::vector<size_t>* items) override;
  std::wstring LeftBehindNote() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  int GroupOf(HTREEITEM node) const;  // -1 for a category node
  void SetGroup(int group, bool checked);
  void OnTreeClick();

  ui::ImageList icons_;
  HTREEITEM groups_[cleaning_pages::kTraceGroups] = {};
  HTREEITEM nodes_[cleaning_pages::kTraceCategories] = {};
  std::vector<cleaning_pages::TraceCategory> categories_;
  int CategoryOfItem(size_t item) const;  // -1 when unknown

  int ticks_ = 0;  // categories begun in the running scan
  std::vector<size_t> firstItems_;  // by category begun: the number of the first item it found
  std::vector<std::wstring> heldBrowsers_;  // running browsers whose files the last clean left
};

// CLitterbinStartDlg: the junk file cleaner page. It lists the fixed drives with their total and
// free space, every one checked; a scan calls Litterbin once per checked drive on a worker, and its
// result page lists the junk files found for the user to clean.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "pages/cleaning/cleaning_start_dlg.h"
#include "pages/cleaning/litterbin_scan_dlg.h"
#include "ui/controls/check_list_view.h"

class CLitterbinStartDlg : public cleaning_pages::CCleaningStartDlg {
 public:
  CLitterbinStartDlg();

  ui::CheckListView& DriveList() { return drives_; }
  // Empties the drive list and fills it again from the system's fixed drives, all checked.
  void FillDrives();
  // The drive queue of the last scan start ("C:\", ...).
  const std::vector<std::wstring>& Queue() const { return queue_; }
  CLitterbinScanDlg* ScanPage() const { return static_cast<CLitterbinScanDlg*>(ResultPage()); }

 protected:
  void OnInitPage() override;
  void CheckAll(bool checked) override;
  bool PrepareScan() override;
  std::shared_ptr<cleaning_pages::ScanJob> MakeJob() override;
  std::unique_ptr<cleaning_pages::CCleaningResultsDlg> MakeResultPage() override;
  bool CleanItem(const cleaning_pages::FoundItem& item) override;
  void OnScanOpened() override;
  void OnProgress(ULONG_PTR kind, std::wstring_view text) override;
  void OnShown() override;

 private:
  ui::CheckListView drives_;
  ui::ImageList icons_;
  std::vector<std::wstring> queue_;
};

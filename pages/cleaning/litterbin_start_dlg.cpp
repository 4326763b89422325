#include "pages/cleaning/litterbin_start_dlg.h"

#include <commctrl.h>

#include "contracts/litterbin.h"
#include "contracts/messages.h"
#include "pages/cleaning/cleaning_ids.h"
#include "pages/cleaning/tree_icons.h"

using namespace cleaning_pages;

namespace {

const CCleaningStartDlg::Setup kSetup = {
    IDD_LITTERBIN_START,
    page_id::kJunkCleaner,
    page_msg::kJunkStart,
    page_msg::kJunkFinished,
    page_msg::kJunkBack,
    report_kind::kJunkItem,
    report_kind::kJunkDriveTick,
    L"Features:Remove junk file to free up disk space and improve system performance.",
    L"Please select at least one drive from the list that needs to be scanned for junk files.",
    &LitterbinSetLastScanTime,
    &LitterbinSetLastScanDate,
    &LitterbinGetLastScanDate,
};

class JunkScanJob : public ScanJob {
 public:
  JunkScanJob(HWND window, UINT endMessage, std::vector<std::wstring> drives, size_t pacedItems)
      : ScanJob(window, endMessage, report_kind::kJunkItem, pacedItems), drives_(std::move(drives)) {}

 protected:
  void Run() override {
    for (const std::wstring& drive : drives_) {
      if (!Tick(report_kind::kJunkDriveTick) || !GoOn()) return;
      LitterbinGetJunkFile(reportWindow(), drive.c_str());
    }
  }

 private:
  const std::vector<std::wstring> drives_;
};

}  // namespace

CLitterbinStartDlg::CLitterbinStartDlg() : CCleaningStartDlg(kSetup) {}

void CLitterbinStartDlg::OnInitPage() {
  RECT r = kChoiceRect;
  drives_.Create(hwnd(), r, L"",
                 WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                     LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER,
                 0, IDC_DRIVE_LIST);
  SendMessageW(drives_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts().regular.get()), FALSE);
  drives_.InsertColumn(0, L"Drives", 200);
  drives_.InsertColumn(1, L"Total Space", 170);
  drives_.InsertColumn(2, L"Free Space", 170);
  // The page owns the picture (LVS_SHAREIMAGELISTS: the list does not destroy it); every row shows it.
  icons_.reset(MakeDriveIcon());
  if (icons_) ListView_SetImageList(drives_.hwnd(), icons_.get(), LVSIL_SMALL);
  FillDrives();
}

void CLitterbinStartDlg::FillDrives() {
  drives_.DeleteAllRows();
  DWORD present = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(present & (1u << i))) continue;
    const wchar_t root[4] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    if (GetDriveTypeW(root) != DRIVE_FIXED) continue;
    int row = drives_.AddRow(root);
    if (row < 0) continue;
    ULARGE_INTEGER available = {}, total = {}, free = {};
    bool known = GetDiskFreeSpaceExW(root, &available, &total, &free) != 0;
    drives_.SetText(row, 1, known ? DriveSpaceText(total.QuadPart).c_str() : L"Unknown");
    drives_.SetText(row, 2, known ? DriveSpaceText(free.QuadPart).c_str() : L"Unknown");
    LVITEMW image = {};
    image.mask = LVIF_IMAGE;
    image.iItem = row;
    image.iImage = 0;  // the drive picture
    SendMessageW(drives_.hwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&image));
  }
  drives_.SetAllChecked(true);
}

void CLitterbinStartDlg::CheckAll(bool checked) { drives_.SetAllChecked(checked); }

bool CLitterbinStartDlg::PrepareScan() {
  queue_.clear();
  int rows = drives_.RowCount();
  for (int row = 0; row < rows; ++row) {
    if (drives_.IsChecked(row)) queue_.push_back(drives_.Text(row, 0));
  }
  return !queue_.empty();
}

std::shared_ptr<ScanJob> CLitterbinStartDlg::MakeJob() {
  return std::make_shared<JunkScanJob>(hwnd(), page_msg::kJunkFinished, queue_, PacedItems());
}

std::unique_ptr<CCleaningResultsDlg> CLitterbinStartDlg::MakeResultPage() {
  return std::make_unique<CLitterbinScanDlg>();
}

bool CLitterbinStartDlg::CleanItem(const FoundItem& item) {
  return LitterbinCleanJunkFile(item.name.c_str(), item.location.c_str(), 0) == 1;
}

void CLitterbinStartDlg::OnScanOpened() {
  if (CLitterbinScanDlg* page = ScanPage()) {
    page->SetQueuedDrives(static_cast<int>(queue_.size()));
    page->StartClock();
  }
}

void CLitterbinStartDlg::OnProgress(ULONG_PTR kind, std::wstring_view text) {
  CLitterbinScanDlg* page = ScanPage();
  if (!page) return;
  if (kind == report_kind::kJunkDriveTick) page->DriveStarted();
  if (kind == report_kind::kCleanProgress) page->SetProgressText(text);
}

void CLitterbinStartDlg::OnShown() { FillDrives(); }

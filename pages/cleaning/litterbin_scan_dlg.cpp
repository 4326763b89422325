#include "pages/cleaning/litterbin_scan_dlg.h"

#include <commctrl.h>

#include <cwchar>

#include "pages/cleaning/cleaning_ids.h"

using namespace cleaning_pages;

namespace {

const CCleaningResultsDlg::Texts kTexts = {
    L"Res\\Dialog\\QOR_Junk_Clean_Dlg_Top.png",
    L"Remove junk files to free up disk space",
    L"Junk File Cleaner is performing the analysis, Please wait......",
    L"Analysis is complete",
    L"The analysis of junk files is complete, please click \"Clean\" to clean junk files.",
    L" Junk File(s) (",
    L" Junk Files that take up ",
};

constexpr RECT kProgressRect = {9, 343, 560, 357};
constexpr RECT kTextRect = {9, 362, 560, 378};

}  // namespace

CLitterbinScanDlg::CLitterbinScanDlg() : CCleaningResultsDlg(IDD_LITTERBIN_SCAN, kTexts) {}

void CLitterbinScanDlg::OnInit() {
  PlaceControl(hwnd(), IDC_DRIVES_PROGRESS, kProgressRect.left, kProgressRect.top, kProgressRect.right - kProgressRect.left,
               kProgressRect.bottom - kProgressRect.top);
  SendMessageW(Item(IDC_DRIVES_PROGRESS), PBM_SETRANGE32, 1, 100);
  SendMessageW(Item(IDC_DRIVES_PROGRESS), PBM_SETBARCOLOR, 0, kAccent);
  SendMessageW(Item(IDC_DRIVES_PROGRESS), PBM_SETPOS, 1, 0);
  // The engine reports every file it looks at; the text shows the latest of them at a pace the
  // eye can follow, without a repaint per report.
  SetTimer(hwnd(), kTextTimer, 100, nullptr);
}

void CLitterbinScanDlg::DriveStarted() {
  ++done_;
  if (queued_ > 0) SendMessageW(Item(IDC_DRIVES_PROGRESS), PBM_SETPOS, done_ * 100 / queued_, 0);
}

void CLitterbinScanDlg::SetProgressText(std::wstring_view text) {
  progressText_.assign(text);
  textChanged_ = true;
}

void CLitterbinScanDlg::StartClock() {
  if (!hwnd() || clockRunning_ || finished()) return;
  clockRunning_ = SetTimer(hwnd(), kClockTimer, 1000, nullptr) != 0;
}

void CLitterbinScanDlg::StopTimers() {
  if (!hwnd()) return;
  KillTimer(hwnd(), kClockTimer);
  KillTimer(hwnd(), kTextTimer);
  clockRunning_ = false;
}

void CLitterbinScanDlg::Finish(bool aborted) {
  // The clock shows how long the scan took, so it stops with the scan however it ended.
  StopTimers();
  if (aborted && hwnd()) SendMessageW(Item(IDC_DRIVES_PROGRESS), PBM_SETPOS, 100, 0);
  CCleaningResultsDlg::Finish(aborted);
}

std::wstring CLitterbinScanDlg::ElapsedText() const {
  wchar_t clock[32];
  swprintf(clock, 32, L"%02d:%02d:%02d", seconds_ / 3600, (seconds_ % 3600) / 60, seconds_ % 60);
  return std::wstring(L"Elapsed Time: ") + clock;
}

int CLitterbinScanDlg::Progress() const {
  return hwnd() ? static_cast<int>(SendMessageW(Item(IDC_DRIVES_PROGRESS), PBM_GETPOS, 0, 0)) : 0;
}

void CLitterbinScanDlg::PaintExtra(HDC dc) {
  RECT clock = {kListRect.right - 160, 44, kListRect.right - 12, 74};
  DrawTextIn(dc, fonts().regular.get(), kBodyText, clock, ElapsedText(), DT_RIGHT | DT_VCENTER);
  if (!finished() && !progressText_.empty()) {
    DrawTextIn(dc, fonts().regular.get(), kQuietText, kTextRect, L"Scanning: " + progressText_, DT_LEFT | DT_END_ELLIPSIS);
  }
}

bool CLitterbinScanDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DESTROY) StopTimers();
  return CCleaningResultsDlg::OnMessage(message, wParam, lParam, result);
}

bool CLitterbinScanDlg::OnTimer(UINT_PTR id) {
  if (id == kClockTimer) {
    ++seconds_;
    RepaintHeader();
    return true;
  }
  if (id == kTextTimer) {
    if (textChanged_) {
      textChanged_ = false;
      RepaintStrip();
    }
    return true;
  }
  return CCleaningResultsDlg::OnTimer(id);
}

#include "pages/cleaning/tracewipe_scan_dlg.h"

#include "pages/cleaning/cleaning_ids.h"

using namespace cleaning_pages;

namespace {

const CCleaningResultsDlg::Texts kTexts = {
    L"Res\\Dialog\\QOR_Evidence_Clean_Dlg_Top.png",
    L"Remove Evidence files to free up disk space",
    L"Evidence Cleaner is performing the analysis, Please wait...",
    L"Analysis is complete",
    L"The analysis of evidence files is complete, please click \"Clean\" to clean evidence files.",
    L" Evidence File(s) (",
    L" Evidence Files that take up ",
};

}  // namespace

CTracewipeScanDlg::CTracewipeScanDlg() : CCleaningResultsDlg(IDD_TRACEWIPE_SCAN, kTexts) {}

void CTracewipeScanDlg::SetCurrentCategory(const std::wstring& text) {
  if (text == category_) return;
  category_ = text;
  RepaintStrip();
}

void CTracewipeScanDlg::PaintExtra(HDC dc) {
  if (finished() || category_.empty()) return;
  RECT line = {kListRect.left, kListRect.bottom + 8, kListRect.right, kListRect.bottom + 24};
  DrawTextIn(dc, fonts().regular.get(), kQuietText, line, L"Scanning: " + category_, DT_LEFT | DT_END_ELLIPSIS);
}

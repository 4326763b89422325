#include "pages/cleaning/results_dlg.h"

#include <commctrl.h>

#include <climits>

#include "app/plain_page.h"
#include "pages/cleaning/cleaning_ids.h"
#include "ui/controls/page_colours.h"

namespace cleaning_pages {
namespace {

constexpr int kBandX = 81, kBandY = 44, kBandHeight = 30;
constexpr int kBandEnd = 10;  // the band's rounded right end, kept whole when the band is shortened

// The header band, shortened to width by leaving out a stretch of its plain middle.
void DrawBand(Gdiplus::Graphics& g, Gdiplus::Image* band, int x, int y, int width) {
  if (!ui::Usable(band)) return;
  int w = static_cast<int>(band->GetWidth()), h = static_cast<int>(band->GetHeight());
  if (width >= w || width <= kBandEnd) {
    g.DrawImage(band, x, y, w, h);
    return;
  }
  int left = width - kBandEnd;
  g.DrawImage(band, Gdiplus::Rect(x, y, left, h), 0, 0, left, h, Gdiplus::UnitPixel);
  g.DrawImage(band, Gdiplus::Rect(x + left, y, kBandEnd, h), w - kBandEnd, 0, kBandEnd, h, Gdiplus::UnitPixel);
}

std::wstring Count(int count) { return std::to_wstring(count); }

}  // namespace

CCleaningResultsDlg::CCleaningResultsDlg(UINT templateId, const Texts& texts) : ui::Dialog(templateId), texts_(texts) {}

bool CCleaningResultsDlg::Open(HWND parent, const RECT& rect, Owner* owner, HWND ownerWindow, UINT backMessage) {
  owner_ = owner;
  ownerWindow_ = ownerWindow;
  backMessage_ = backMessage;
  if (!Create(parent)) return false;
  SetWindowPos(hwnd(), HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_SHOWWINDOW);
  return true;
}

void CCleaningResultsDlg::OnInitDialog() {
  picture_ = ui::LoadBitmapFile(texts_.picture);
  band_ = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Results_Dlg_BG.jpg");

  RECT r = kListRect;
  list_.Create(hwnd(), r, L"", WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                   LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
               0, IDC_RESULT_LIST);
  list_.InsertColumn(0, L"File Name", 120);
  list_.InsertColumn(1, L"Path", 310);
  list_.InsertColumn(2, L"Size", 90);

  abort_.Bind(Item(IDC_ABORT));
  abort_.Load(L"Res\\Common\\QOR_Button_Abort.bmp");
  clean_.Bind(Item(IDC_CLEAN));
  clean_.Load(L"Res\\Common\\QOR_Button_Clean.bmp");
  back_.Bind(Item(IDC_BACK));
  back_.Load(L"Res\\Common\\QOR_Button_Back.bmp");
  PlaceControl(hwnd(), IDC_ABORT, kCleanAt.x, kCleanAt.y, 143, 34);
  PlaceControl(hwnd(), IDC_CLEAN, kCleanAt.x, kCleanAt.y, 143, 34);
  PlaceControl(hwnd(), IDC_BACK, kBackAt.x, kBackAt.y, 143, 34);
  PlaceControl(hwnd(), IDC_SELECT_ALL, 12, 395, 110, 18);
  SendMessageW(Item(IDC_SELECT_ALL), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.regular.get()), FALSE);
  CheckDlgButton(hwnd(), IDC_SELECT_ALL, BST_CHECKED);  // rows come checked
  SetTimer(hwnd(), kListTimer, kListRefreshMs, nullptr);
  OnInit();
}

bool CCleaningResultsDlg::AddRow(size_t index, const FoundItem& item, const std::wstring& sizeText) {
  // A list view that redraws itself (and its scroll bar) for every row takes far longer over the
  // row than the scan took to find it; it is drawn on a timer instead.
  if (!frozen_ && !finished_) {
    SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
    frozen_ = true;
  }
  rowsWaiting_ = true;
  LVITEMW row = {};
  row.mask = LVIF_TEXT | LVIF_PARAM;
  row.iItem = INT_MAX;  // after the last row
  row.pszText = const_cast<wchar_t*>(item.name.c_str());
  row.lParam = static_cast<LPARAM>(index);
  int at = static_cast<int>(SendMessageW(list_.hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
  if (at < 0) return false;
  list_.SetText(at, 1, item.location.c_str());
  list_.SetText(at, 2, sizeText.c_str());
  list_.SetChecked(at, true);
  return true;
}

void CCleaningResultsDlg::SetTotals(int count, uint64_t total) {
  count_ = count;
  total_ = total;
}

void CCleaningResultsDlg::ShowNewRows() {
  rowsWaiting_ = false;
  if (!frozen_ || !hwnd()) return;
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  if (finished_) {
    frozen_ = false;
    InvalidateRect(list_.hwnd(), nullptr, TRUE);
    return;
  }
  UpdateWindow(list_.hwnd());
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
}

void CCleaningResultsDlg::RepaintHeader() {
  if (!hwnd()) return;
  RECT header = kHeaderRect;
  InvalidateRect(hwnd(), &header, FALSE);
  UpdateWindow(hwnd());
}

void CCleaningResultsDlg::RepaintStrip() {
  if (!hwnd()) return;
  RECT strip = {0, kListRect.bottom, 573, kCleanAt.y - 2};
  InvalidateRect(hwnd(), &strip, FALSE);
}

void CCleaningResultsDlg::Finish(bool) {
  finished_ = true;
  if (!hwnd()) return;
  KillTimer(hwnd(), kListTimer);
  ShowNewRows();
  ShowWindow(Item(IDC_ABORT), SW_HIDE);
  ShowWindow(Item(IDC_BACK), SW_SHOW);
  SetWindowPos(Item(IDC_CLEAN), nullptr, kCleanAt.x, kCleanAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  InvalidateRect(hwnd(), nullptr, FALSE);
  RepaintHeader();
}

std::vector<size_t> CCleaningResultsDlg::CheckedItems() const {
  std::vector<size_t> items;
  int rows = list_.RowCount();
  for (int i = 0; i < rows; ++i) {
    if (!list_.IsChecked(i)) continue;
    LVITEMW row = {};
    row.mask = LVIF_PARAM;
    row.iItem = i;
    if (SendMessageW(list_.hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row))) {
      items.push_back(static_cast<size_t>(row.lParam));
    }
  }
  return items;
}

std::wstring CCleaningResultsDlg::Title() const {
  return finished_ ? texts_.finishedTitle : texts_.scanningTitle;
}

std::wstring CCleaningResultsDlg::Subtitle() const {
  return finished_ ? texts_.finishedSubtitle : texts_.scanningSubtitle;
}

std::wstring CCleaningResultsDlg::CounterLine() const {
  if (finished_) return L"All total of " + Count(count_) + texts_.totalWords + SizeText(total_);
  return Count(count_) + texts_.foundWords + SizeText(total_) + L") Found";
}

void CCleaningResultsDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
  {
    Gdiplus::Graphics g(dc);
    if (ui::Usable(picture_.get())) g.DrawImage(picture_.get(), 9, 8, 64, 64);
    DrawBand(g, band_.get(), kBandX, kBandY, kListRect.right + 2 - kBandX);
  }
  DrawTextAt(dc, fonts_.title.get(), kTitleGreen, kBandX, 5, Title());
  DrawTextAt(dc, fonts_.regular.get(), kQuietText, kBandX, 26, Subtitle());
  RECT counter = {kBandX + 40, kBandY, kListRect.right - 150, kBandY + kBandHeight};
  DrawTextIn(dc, fonts_.bold.get(), kBodyText, counter, CounterLine(), DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
  PaintExtra(dc);
}

void CCleaningResultsDlg::OnCommand(int id) {
  switch (id) {
    case IDC_SELECT_ALL:
      list_.SetAllChecked(IsDlgButtonChecked(hwnd(), IDC_SELECT_ALL) == BST_CHECKED);
      break;
    case IDC_ABORT:
      if (owner_ && !finished_) owner_->AbortScan();
      break;
    case IDC_CLEAN:
      if (owner_ && finished_) owner_->CleanChecked();
      break;
    case IDC_BACK:
      if (ownerWindow_) PostMessageW(ownerWindow_, backMessage_, 0, 0);
      break;
  }
}

bool CCleaningResultsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      result = FALSE;
      return true;
    case WM_ERASEBKGND:
      result = TRUE;
      return true;
    case WM_PAINT:
      PaintBuffered(hwnd(), [this](HDC dc) { Paint(dc); });
      return true;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return true;
    case WM_TIMER:
      if (wParam != kListTimer) return false;
      if (rowsWaiting_) ShowNewRows();
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        OnCommand(LOWORD(wParam));
        return true;
      }
      return false;
  }
  return false;
}

}  // namespace cleaning_pages

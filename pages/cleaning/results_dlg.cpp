#include "pages/cleaning/results_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "pages/cleaning/cleaning_ids.h"
#include "ui/controls/page_colours.h"
#include "ui/page_frame.h"

namespace cleaning_pages {
namespace {

constexpr int kBandX = 81, kBandY = 44, kBandHeight = 30;  // the band beside the picture
constexpr int kBandEnd = 10;  // the band's rounded right end, kept whole when the band is shortened

// The header band, shortened to width by leaving out a stretch of its plain middle.
void DrawBand(Gdiplus::Graphics& g, Gdiplus::Image* band, int x, int y, int width) {
  if (!band) return;
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

bool CCleaningResultsDlg::OnInitDialog(HWND) {
  // GDI+ reports an image's failure once and then forgets it: each is judged here, once.
  picture_ = ui::LoadBitmapFile(texts_.picture);
  if (!ui::Usable(picture_.get())) picture_.reset();
  band_ = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Results_Dlg_BG.jpg");
  if (!ui::Usable(band_.get())) band_.reset();

  RECT r = kListRect;
  list_.Create(hwnd(), r,
               WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
               IDC_RESULT_LIST);
  list_.InsertColumn(0, L"File Name", 120);
  list_.InsertColumn(1, L"Path", 310);
  list_.InsertColumn(2, L"Size", 90);

  SkinButton(hwnd(), IDC_ABORT, abort_, L"Res\\Common\\QOR_Button_Abort.bmp");
  SkinButton(hwnd(), IDC_CLEAN, clean_, L"Res\\Common\\QOR_Button_Clean.bmp");
  SkinButton(hwnd(), IDC_BACK, back_, L"Res\\Common\\QOR_Button_Back.bmp");
  PlaceControl(hwnd(), IDC_ABORT, kCleanAt.x, kCleanAt.y, 143, 34);
  PlaceControl(hwnd(), IDC_CLEAN, kCleanAt.x, kCleanAt.y, 143, 34);
  PlaceControl(hwnd(), IDC_BACK, kBackAt.x, kBackAt.y, 143, 34);
  PlaceControl(hwnd(), IDC_SELECT_ALL, 12, 395, 110, 18);
  SendMessageW(Item(IDC_SELECT_ALL), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.regular.get()), FALSE);
  CheckDlgButton(hwnd(), IDC_SELECT_ALL, BST_CHECKED);  // rows come checked
  SetTimer(hwnd(), kListTimer, kListRefreshMs, nullptr);
  OnInit();
  return false;
}

void CCleaningResultsDlg::AddRow(size_t index) {
  list_.Append(index);
  // The first row shows at once, the rest on the list timer.
  if (finished_ || list_.Rows() == 1) list_.ShowRows();
}

void CCleaningResultsDlg::GiveCell(NMLVDISPINFOW* info) const {
  LVITEMW& cell = info->item;
  if ((cell.mask & LVIF_STATE) && (cell.stateMask & LVIS_STATEIMAGEMASK)) {
    cell.state = (cell.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(list_.IsRowChecked(cell.iItem) ? 2 : 1);
  }
  if (!(cell.mask & LVIF_TEXT) || !cell.pszText || cell.cchTextMax <= 0) return;
  cell.pszText[0] = L'\0';
  const FoundItem* item = owner_ ? owner_->FoundAt(list_.ItemAt(cell.iItem)) : nullptr;
  if (!item || cell.iSubItem < 0 || cell.iSubItem > 2) return;
  std::wstring size;
  const std::wstring* text = &item->name;
  if (cell.iSubItem == 1) text = &item->location;
  if (cell.iSubItem == 2) text = &(size = SizeText(item->size));
  size_t n = std::min(text->size(), static_cast<size_t>(cell.cchTextMax) - 1);
  text->copy(cell.pszText, n);
  cell.pszText[n] = L'\0';
}

bool CCleaningResultsDlg::IgnoreRow(int row, IgnoreChoice choice) {
  const FoundItem* item = owner_ ? owner_->FoundAt(list_.ItemAt(row)) : nullptr;
  // While rows still come in, the controlling page owns the counters: ignoring waits for the end.
  if (!finished_ || !item || choice == IgnoreChoice::kNone) return false;
  base::Exclusion exclusion = ItemExclusion(*item);
  if (choice == IgnoreChoice::kFolder) {
    if (IsRegistryItem(*item)) return false;
    exclusion = {base::ExclusionKind::kFolder, item->location};
  }
  if (!StoreExclusion(hwnd(), exclusion)) return false;
  excluded_ = base::ExclusionSet::Load();
  std::vector<size_t> gone;
  for (size_t r = 0; r < list_.Rows(); ++r) {
    size_t index = list_.ItemAt(static_cast<int>(r));
    const FoundItem* shown = owner_->FoundAt(index);
    if (!shown || !Hides(*shown)) continue;
    gone.push_back(index);
    total_ = total_ >= shown->size ? total_ - shown->size : 0;
  }
  count_ = count_ >= static_cast<int>(gone.size()) ? count_ - static_cast<int>(gone.size()) : 0;
  std::sort(gone.begin(), gone.end());
  list_.RemoveItems(gone);
  RepaintHeader();
  return true;
}

void CCleaningResultsDlg::SetTotals(int count, uint64_t total) {
  count_ = count;
  total_ = total;
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
  list_.ShowRows();
  ShowWindow(Item(IDC_ABORT), SW_HIDE);
  ShowWindow(Item(IDC_BACK), SW_SHOW);
  SetWindowPos(Item(IDC_CLEAN), nullptr, kCleanAt.x, kCleanAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  // Clean takes Abort's place: a click aimed at Abort as the scan ends must not start a clean (the
  // question that follows looks like the stop question, OK in the same place).
  clean_.HoldPresses(kCleanHoldMs);
  InvalidateRect(hwnd(), nullptr, FALSE);
  RepaintHeader();
}

std::vector<size_t> CCleaningResultsDlg::CheckedItems() const {
  std::vector<size_t> items;
  int rows = list_.RowCount();
  for (int i = 0; i < rows; ++i) {
    if (list_.IsRowChecked(i)) items.push_back(list_.ItemAt(i));
  }
  return items;
}

std::vector<size_t> CCleaningResultsDlg::RowItems() const {
  std::vector<size_t> items;
  for (size_t i = 0; i < list_.Rows(); ++i) items.push_back(list_.ItemAt(static_cast<int>(i)));
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
  RECT header = kHeaderRect;
  if (RectVisible(dc, &header)) PaintHeader(dc);
  PaintExtra(dc);
}

void CCleaningResultsDlg::PaintHeader(HDC dc) {
  // Beside the picture; a skin without it leaves the header its whole width.
  bool picture = picture_ != nullptr;
  int x = picture ? kBandX : kListRect.left;
  {
    Gdiplus::Graphics g(dc);
    if (picture) g.DrawImage(picture_.get(), 9, 8, 64, 64);
    DrawBand(g, band_.get(), x, kBandY, kListRect.right + 2 - x);
  }
  DrawTextAt(dc, fonts_.title.get(), kTitleGreen, x, 5, Title());
  DrawTextAt(dc, fonts_.regular.get(), kQuietText, x, 26, Subtitle());
  RECT counter = {x + 40, kBandY, kListRect.right - 150, kBandY + kBandHeight};
  DrawTextIn(dc, fonts_.bold.get(), kBodyText, counter, CounterLine(), DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
}

void CCleaningResultsDlg::OnSelectAll() {
  list_.SetAllChecked(IsDlgButtonChecked(hwnd(), IDC_SELECT_ALL) == BST_CHECKED);
}

void CCleaningResultsDlg::OnAbort() {
  if (owner_ && !finished_) owner_->AbortScan();
}

void CCleaningResultsDlg::OnClean() {
  if (owner_ && finished_) owner_->CleanChecked();
}

void CCleaningResultsDlg::OnBack() {
  if (ownerWindow_) PostMessageW(ownerWindow_, backMessage_, 0, 0);
}

bool CCleaningResultsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (HandlePagePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (message == WM_CONTEXTMENU) {
    if (reinterpret_cast<HWND>(wParam) != list_.hwnd() || !finished_) return false;
    int row = ContextRow(list_.hwnd(), lParam);
    const FoundItem* item = owner_ ? owner_->FoundAt(list_.ItemAt(row)) : nullptr;
    if (item) IgnoreRow(row, AskIgnore(hwnd(), MenuPoint(list_.hwnd(), row, lParam), !IsRegistryItem(*item)));
    return true;
  }
  return false;
}

bool CCleaningResultsDlg::OnTimer(UINT_PTR id) {
  if (id != kListTimer) return false;
  list_.ShowRows();
  return true;
}

bool CCleaningResultsDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_RESULT_LIST || header.code != LVN_GETDISPINFOW) return false;
  GiveCell(reinterpret_cast<NMLVDISPINFOW*>(&header));
  result = 0;
  return true;
}

bool CCleaningResultsDlg::OnClicked(int id) {
  Clicked(*this, id,
          {{IDC_SELECT_ALL, &CCleaningResultsDlg::OnSelectAll},
           {IDC_ABORT, &CCleaningResultsDlg::OnAbort},
           {IDC_CLEAN, &CCleaningResultsDlg::OnClean},
           {IDC_BACK, &CCleaningResultsDlg::OnBack}});
  return true;  // a click on any other control of the page is taken too, and does nothing
}

}  // namespace cleaning_pages

#include "pages/home_registry/home_scan_dlg.h"

#include <commctrl.h>

#include "base/product.h"
#include "contracts/messages.h"
#include "pages/common/page_look.h"
#include "pages/home_registry/home_resource.h"
#include "pages/home_registry/page_drawing.h"
#include "ui/controls/page_colours.h"
#include "ui/paint.h"

using namespace one_click;

namespace {

constexpr UINT kRefreshMs = 250;
constexpr DWORD kBarStepMs = 40;
constexpr int kCanvasSize = 632;

struct Column {
  const wchar_t* heading;
  int width;
};
const Column kColumns[kGroups + 1][3] = {
    {},
    {{L"File Name", 200}, {L"Path", 320}, {nullptr, 0}},
    {{L"File Name", 120}, {L"Path", 310}, {L"Size", 90}},
    {{L"File Name", 120}, {L"Path", 310}, {L"Size", 90}},
    {{L"Extension Name", 170}, {L"Current Value", 170}, {L"Restore Value", 170}},
    {{L"Setting", 170}, {L"Current Setting", 170}, {L"Restore Setting", 170}},
    {{L"Item", 130}, {L"CLSID", 310}, {L"Status", 70}},
};

}  // namespace

CHomeScanDlg::CHomeScanDlg()
    : ui::Dialog(IDD_HOME_SCAN),
      cleanIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Home_Cleaned.png")),
      foundIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Home_Error.png")),
      messageIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Home_Message.png")),
      top_(ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Home_Dlg_Top.png")),
      normal_(ui::MakeFont(L"MS Sans Serif", 10)) {}

// The window goes first, while the images and fonts it paints with are still here.
CHomeScanDlg::~CHomeScanDlg() { Destroy(); }

void CHomeScanDlg::SetDivisor(int group, int divisor) {
  if (ValidGroup(group)) tally_.divisor[group] = divisor;
}

bool CHomeScanDlg::OnInitDialog(HWND) {
  SendMessageW(Item(IDC_HOME_GROUP_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(1, 100));
  SendMessageW(Item(IDC_HOME_TOTAL_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(1, 100));

  for (int g = kRegistry; g <= kActiveX; ++g) {
    lists_[g].Create(hwnd(), kListRect, IDC_HOME_FIRST_LIST + g - 1);
    for (int c = 0; c < 3 && kColumns[g][c].heading; ++c) lists_[g].InsertColumn(c, kColumns[g][c].heading, kColumns[g][c].width);
  }
  summary_.Bind(Item(IDC_HOME_SUMMARY));
  MoveWindow(summary_.hwnd(), kListRect.left, kListRect.top, kListRect.right - kListRect.left,
             kListRect.bottom - kListRect.top, FALSE);
  // Made last, so it lies below the lists; it leaves them alone when it paints.
  tabs_.Create(hwnd(), kTabRect, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH, IDC_HOME_TABS);
  SetWindowPos(tabs_.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(tabs_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  SendMessageW(tabs_.hwnd(), TCM_SETITEMSIZE, 0, MAKELPARAM(78, 0));
  for (int g = kOverall; g <= kActiveX; ++g) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kTabNames[g]);
    SendMessageW(tabs_.hwnd(), TCM_INSERTITEMW, g, reinterpret_cast<LPARAM>(&item));
  }
  ShowGroup(kOverall, false);

  common_pages::SkinButton(hwnd(), IDC_HOME_ABORT, abort_, L"Res\\Common\\QOR_Button_Abort.bmp");
  common_pages::SkinButton(hwnd(), IDC_HOME_REPAIR_ALL, repairAll_, L"Res\\Common\\QOR_Button_RepairAll.bmp");
  common_pages::SkinButton(hwnd(), IDC_HOME_BACK, back_, L"Res\\Common\\QOR_Button_Back.bmp");
  SetTimer(hwnd(), kRefreshTimer, kRefreshMs, nullptr);
  return true;
}

void CHomeScanDlg::AddRow(int group, const std::wstring& first, const std::wstring& second, const std::wstring& third) {
  if (ValidGroup(group)) lists_[group].Queue(first, second, third);
}

void CHomeScanDlg::CountItem(int group) {
  if (ValidGroup(group)) ++tally_.found[group];
}

void CHomeScanDlg::UncountItem(int group) {
  if (ValidGroup(group) && tally_.found[group] > 0) --tally_.found[group];
}

// The bar moves at most every kBarStepMs: each step repaints it while the scan waits for the
// answer, and the eye gains nothing from more steps than that.
void CHomeScanDlg::Tick(int group) {
  if (!ValidGroup(group)) return;
  ++tally_.ticks[group];
  const DWORD now = GetTickCount();
  if (now - barMovedAt_ < kBarStepMs) return;
  barMovedAt_ = now;
  SetBar(IDC_HOME_GROUP_PROGRESS, tally_.GroupPercent(group));
}

void CHomeScanDlg::GroupFinished() {
  ++tally_.finished;
  SetBar(IDC_HOME_GROUP_PROGRESS, tally_.finished >= tally_.selected ? 100 : 1);
  SetBar(IDC_HOME_TOTAL_PROGRESS, tally_.WholePercent());
}

void CHomeScanDlg::ShowGroup(int group, bool begins) {
  if (group < kOverall || group > kActiveX) return;
  if (begins && group != kOverall) {
    tally_.begun[group] = true;
    current_ = group;
  }
  shown_ = group;
  if (tabs_.hwnd()) SendMessageW(tabs_.hwnd(), TCM_SETCURSEL, group, 0);
  for (int g = kRegistry; g <= kActiveX; ++g)
    if (lists_[g].hwnd()) ShowWindow(lists_[g].hwnd(), g == group ? SW_SHOW : SW_HIDE);
  if (summary_.hwnd()) ShowWindow(summary_.hwnd(), group == kOverall ? SW_SHOW : SW_HIDE);
  Refresh();
}

int CHomeScanDlg::groupBar() const {
  return static_cast<int>(SendMessageW(GetDlgItem(hwnd(), IDC_HOME_GROUP_PROGRESS), PBM_GETPOS, 0, 0));
}

int CHomeScanDlg::wholeBar() const {
  return static_cast<int>(SendMessageW(GetDlgItem(hwnd(), IDC_HOME_TOTAL_PROGRESS), PBM_GETPOS, 0, 0));
}

// Only a new position reaches a bar.
void CHomeScanDlg::SetBar(int id, int percent) {
  int& shown = id == IDC_HOME_GROUP_PROGRESS ? groupBarShown_ : wholeBarShown_;
  if (!hwnd() || percent == shown) return;
  shown = percent;
  SendMessageW(Item(id), PBM_SETPOS, percent, 0);
}

void CHomeScanDlg::SetStatusText(const std::wstring& text) {
  if (hwnd()) SetDlgItemTextW(hwnd(), IDC_HOME_STATUS, text.c_str());
}

void CHomeScanDlg::ShowResultLayout() {
  if (!hwnd()) return;
  KillTimer(hwnd(), kRefreshTimer);
  for (int id : {IDC_HOME_STATUS, IDC_HOME_TOTAL_LABEL, IDC_HOME_GROUP_PROGRESS, IDC_HOME_TOTAL_PROGRESS,
                 IDC_HOME_ABORT})
    ShowWindow(Item(id), SW_HIDE);
  auto place = [this](int id, POINT at) {
    SetWindowPos(Item(id), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Item(id), SW_SHOW);
  };
  place(IDC_HOME_REPAIR_ALL, kRepairAllAt);
  place(IDC_HOME_BACK, kBackAt);
  for (int g = kRegistry; g <= kActiveX; ++g) lists_[g].ShowQueued();
  ShowGroup(kOverall, false);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

Gdiplus::Image* CHomeScanDlg::IconFor(SummaryIcon icon) const {
  switch (icon) {
    case SummaryIcon::kClean: return cleanIcon_.get();
    case SummaryIcon::kFound: return foundIcon_.get();
    case SummaryIcon::kMessage: break;
  }
  return messageIcon_.get();
}

void CHomeScanDlg::FillOverall(const Groups& groups) {
  if (!summary_.hwnd()) return;
  SendMessageW(summary_.hwnd(), LB_RESETCONTENT, 0, 0);
  for (int g = kRegistry; g <= kActiveX; ++g) {
    SummaryLine line = OverallLine(g, groups[g] != 0, tally_.found[g], tally_.begun[g]);
    Gdiplus::Image* icon = IconFor(line.icon);
    summary_.AddItem(line.text.c_str(), ui::Usable(icon) ? icon : nullptr);
  }
}

// While rows come in, the shown list learns of them here, a few times a second: a list view that
// takes and draws every row as it comes costs more than the scan. What changed is drawn when the
// page's thread is idle, while the worker scans on. The hidden lists learn of theirs when they are
// shown or the scan ends.
void CHomeScanDlg::Refresh() {
  if (!hwnd()) return;
  if (examined_ != examinedShown_) {
    examinedShown_ = examined_;
    SetStatusText(examined_);
  }
  if (ValidGroup(shown_)) lists_[shown_].ShowQueued();
}

void CHomeScanDlg::OnAbort() {
  if (!onAbort_) return;
  const std::function<void()> abort = onAbort_;  // kept for the length of the question
  abort();
}

void CHomeScanDlg::Paint(HDC target) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  ui::MemoryDC dc(CreateCompatibleDC(target));
  ui::Bitmap canvas(CreateCompatibleBitmap(target, kCanvasSize, kCanvasSize));
  if (!dc || !canvas) return;
  ui::Select selected(dc.get(), canvas.get());
  registry_pages::PaintGround(dc.get(), client, CXuBitmap());
  if (ui::Usable(top_.get())) {
    Gdiplus::Graphics graphics(dc.get());
    graphics.DrawImage(top_.get(), client.right - 44, 2, 32, 32);
  }
  ui::Select font(dc.get(), normal_.get());
  SetTextColor(dc.get(), RGB(0, 0, 0));
  registry_pages::Text(dc.get(), 8, 12, L"One-Click Optimizes your entire computer with a single click.");
  BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

bool CHomeScanDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  switch (message) {
    case WM_DESTROY:
      KillTimer(hwnd(), kRefreshTimer);
      return false;
  }
  return false;
}

bool CHomeScanDlg::OnTimer(UINT_PTR id) {
  if (id != kRefreshTimer) return false;
  Refresh();
  return true;
}

bool CHomeScanDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code == LVN_GETDISPINFOW) {
    for (int g = kRegistry; g <= kActiveX; ++g) {
      if (header.hwndFrom != lists_[g].hwnd()) continue;
      lists_[g].GiveCell(reinterpret_cast<NMLVDISPINFOW*>(&header));
      result = 0;
      return true;
    }
    return false;
  }
  if (header.hwndFrom != tabs_.hwnd() || header.code != TCN_SELCHANGE) return false;
  ShowGroup(static_cast<int>(SendMessageW(tabs_.hwnd(), TCM_GETCURSEL, 0, 0)), false);
  return true;
}

bool CHomeScanDlg::OnClicked(int id) {
  return Clicked(*this, id,
                 {{IDC_HOME_ABORT, &CHomeScanDlg::OnAbort},
                  {IDC_HOME_REPAIR_ALL, &CHomeScanDlg::OnRepairAll},
                  {IDC_HOME_BACK, &CHomeScanDlg::OnBack}});
}

void CHomeScanDlg::OnRepairAll() { PostMessageW(owner_, page_msg::kHomeRepairAll, 0, 0); }

void CHomeScanDlg::OnBack() { PostMessageW(owner_, page_msg::kHomeBack, 0, 0); }

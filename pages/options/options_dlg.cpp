#include "pages/options/options_dlg.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "base/product.h"
#include "contracts/buffers.h"
#include "contracts/options.h"
#include "contracts/tools.h"
#include "pages/options/options_ids.h"
#include "ui/controls/page_colours.h"
#include "ui/paint.h"

namespace {

constexpr COLORREF kAccent = RGB(0, 141, 66);
const RECT kTabPlace = {8, 56, 8 + 556, 56 + 366};
constexpr POINT kTab1Offset = {18, 90};

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

COptionsDlg::COptionsDlg() : ui::Page(IDD_OPTIONS_PAGE) {}

bool COptionsDlg::OnInitDialog(HWND) {
  top_ = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Options_Dlg_Top.png");
  titleFont_.reset(ui::MakeFont(L"Arial", 18, FW_BOLD));
  regularFont_.reset(ui::MakeFont(L"MS Sans Serif", 10));
  tab1_.SetFlags(OptionsCheckStartupRun(), OptionsCheckLiveUpdata());

  if (tab_.Create(hwnd(), kTabPlace, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, IDC_OPTIONS_TAB)) {
    SendMessageW(tab_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"General Settings");
    SendMessageW(tab_.hwnd(), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<wchar_t*>(L"Exclusions");
    SendMessageW(tab_.hwnd(), TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  }
  auto place = [](HWND tab, bool shown) {
    RECT r = {};
    GetClientRect(tab, &r);
    OffsetRect(&r, kTab1Offset.x, kTab1Offset.y);
    SetWindowPos(tab, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  };
  if (tab1_.Create(hwnd())) place(tab1_.hwnd(), true);
  if (exclusions_.Create(hwnd())) place(exclusions_.hwnd(), false);
  return true;
}

void COptionsDlg::ShowTab(int tab) {
  if (tab_.hwnd() && static_cast<int>(SendMessageW(tab_.hwnd(), TCM_GETCURSEL, 0, 0)) != tab)
    SendMessageW(tab_.hwnd(), TCM_SETCURSEL, tab, 0);
  if (tab1_.hwnd()) ShowWindow(tab1_.hwnd(), tab == 0 ? SW_SHOW : SW_HIDE);
  if (exclusions_.hwnd()) ShowWindow(exclusions_.hwnd(), tab == 1 ? SW_SHOW : SW_HIDE);
}

void COptionsDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (ui::Usable(top_.get())) {
    Gdiplus::Graphics g(dc);
    g.DrawImage(top_.get(), 21, 3, static_cast<INT>(top_->GetWidth()), static_cast<INT>(top_->GetHeight()));
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  wchar_t greeting[contracts::kDateChars] = {};
  GetNowShowTimeString(greeting);
  std::wstring title = std::wstring(greeting) + L" and Welcome to Options Center";
  const wchar_t kFeatures[] = L"Features:Controls which programs are executed at Windows startup.";
  {
    ui::Select font(dc, titleFont_.get());
    TextOutW(dc, 76, 8, title.c_str(), static_cast<int>(title.size()));
  }
  {
    ui::Select font(dc, regularFont_.get());
    TextOutW(dc, 76, 26, kFeatures, static_cast<int>(wcslen(kFeatures)));
  }
  ui::Pen pen(CreatePen(PS_SOLID, 1, kAccent));
  ui::Select selected(dc, pen.get());
  DrawLine(dc, 0, 0, client.right, 0);
  DrawLine(dc, client.right - 1, 0, client.right - 1, client.bottom);
  DrawLine(dc, 0, client.bottom - 1, client.right, client.bottom - 1);
}

options_page::UpdateRequest COptionsDlg::NewUpdateRequest() const {
  options_page::UpdateRequest request;
  request.page = hwnd();
  request.main = GetAncestor(hwnd(), GA_ROOT);
  request.url = options_page::UpdateAddress();
  request.version = product::kVersion;
  request.openSite = &options_page::OpenWebSite;
  return request;
}

bool COptionsDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != tab_.hwnd() || header.code != TCN_SELCHANGE) return false;
  ShowTab(static_cast<int>(SendMessageW(tab_.hwnd(), TCM_GETCURSEL, 0, 0)));
  result = 0;
  return true;
}

bool COptionsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  switch (message) {
    case OPTIONS_MSG_STARTUP_RUN:
      OptionsSetStartupRun(wParam ? 1 : 0);
      result = OptionsCheckStartupRun() ? 1 : 0;
      return true;
    case OPTIONS_MSG_LIVE_UPDATE:
      OptionsSetLiveUpdate(wParam ? 1 : 0);
      result = OptionsCheckLiveUpdata() ? 1 : 0;
      return true;
    case OPTIONS_MSG_CHECK_UPDATE:
      options_page::StartUpdateCheck(NewUpdateRequest());  // does nothing while a check runs
      result = 0;
      return true;
  }
  return false;
}

#include "pages/optimizers/optimizer_page.h"

#include "pages/optimizers/resource.h"
#include "ui/controls/page_colours.h"
#include "ui/gdi.h"
#include "ui/paint.h"

namespace optimizer_pages {

const wchar_t kCaption[] = L"Lumaspan";
const wchar_t kCompleted[] = L"Optimization Completed!";
const wchar_t kNotApplied[] =
    L"The optimization could not be applied: Windows refused to change some of the settings. "
    L"Nothing else was changed.";

namespace {

constexpr COLORREF kAccent = RGB(0, 141, 66);

// White, with the accent lines the pages draw along their top, right and bottom edges.
void PaintFrame(HWND window, HDC dc) {
  RECT client = {};
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ui::Brush accent(CreateSolidBrush(kAccent));
  const RECT edges[] = {{0, 0, client.right, 1},
                        {client.right - 1, 0, client.right, client.bottom},
                        {0, client.bottom - 1, client.right, client.bottom}};
  for (const RECT& edge : edges) FillRect(dc, &edge, accent.get());
}

}  // namespace

bool COptimizerPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { PaintFrame(hwnd(), dc); })) return true;
  if (message != WM_INITDIALOG) return false;
  optimize_.Bind(Item(IDC_OPTIMIZE));
  optimize_.Load(L"Res\\Common\\QOR_Button_Optimize.bmp");
  OnInitPage();
  result = TRUE;
  return true;
}

void COptimizerPage::ReportOutcome(bool applied) {
  MessageBoxW(MainWindow(), applied ? kCompleted : kNotApplied, kCaption,
              MB_OK | (applied ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace optimizer_pages

#include "pages/optimizers/optimizer_page.h"

#include "base/product.h"
#include "pages/common/page_look.h"
#include "pages/optimizers/resource.h"
#include "ui/controls/page_colours.h"
#include "ui/gdi.h"
#include "ui/page_frame.h"
#include "ui/paint.h"

namespace optimizer_pages {

const wchar_t kCompleted[] = L"Optimization Completed!";
const wchar_t kNotApplied[] =
    L"The optimization could not be applied: Windows refused to change some of the settings. "
    L"Nothing was changed.";
const wchar_t kPartlyApplied[] =
    L"The optimization could not be applied: Windows refused to change some of the settings, and "
    L"refused to set some of those already changed back as they were.";

namespace {

// White, with the accent lines the pages draw along their top, right and bottom edges.
void PaintFrame(HWND window, HDC dc) {
  RECT client = {};
  GetClientRect(window, &client);
  PaintPageFrame(dc, client.right, client.bottom);
}

}  // namespace

bool COptimizerPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { PaintFrame(hwnd(), dc); })) return true;
  if (FirstShowing(message, wParam)) {
    OnInitPage();
    return false;  // and the dialog manager's handling
  }
  return false;
}

bool COptimizerPage::OnInitDialog(HWND) {
  common_pages::SkinButton(hwnd(), IDC_OPTIMIZE, optimize_, L"Res\\Common\\QOR_Button_Optimize.bmp");
  return true;
}

void COptimizerPage::ReportOutcome(Outcome outcome) {
  bool applied = outcome == Outcome::kApplied;
  MessageBoxW(MainWindow(), applied ? kCompleted : outcome == Outcome::kNotApplied ? kNotApplied : kPartlyApplied,
              product::kCaption, MB_OK | (applied ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace optimizer_pages

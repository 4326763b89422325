#include "app/plain_page.h"

#include "app/resource.h"
#include "ui/page_frame.h"
#include "ui/paint.h"

CPlainPage::CPlainPage() : ui::Page(IDD_PAGE) {}

void CPlainPage::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
}

bool CPlainPage::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  return ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); });
}

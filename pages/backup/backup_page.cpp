#include "pages/backup/backup_page.h"

#include "base/product.h"
#include "ui/controls/page_colours.h"
#include "ui/paint.h"
#include "ui/page_frame.h"

namespace backup_pages {

BackupPage::BackupPage(UINT templateId, std::initializer_list<TextLine> lines)
    : ui::Page(templateId), lines_(lines), text_(ui::MakeFont(L"MS Sans Serif", 10)) {}

void BackupPage::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
  {
    ui::Select selected(dc, text_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    for (const TextLine& line : lines_) TextOutW(dc, line.x, line.y, line.text, lstrlenW(line.text));
  }
}

void BackupPage::SkinButton(int id, ui::CSkinButton& button, const wchar_t* bitmapPath) {
  HWND control = Item(id);
  if (!control || !button.Bind(control)) return;
  button.Load(bitmapPath);
  SetWindowPos(control, nullptr, 0, 0, kButtonWidth, kButtonHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int BackupPage::Ask(const wchar_t* text, UINT icon) {
  UINT buttons = icon == MB_ICONQUESTION ? MB_OKCANCEL : MB_OK;
  return MessageBoxW(GetParent(hwnd()), text, product::kCaption, buttons | icon);
}

bool BackupPage::OnInitDialog(HWND) {
  OnInitPage();
  return false;  // the page set the focus itself, or left it to the dialog manager
}

bool BackupPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (FirstShowing(message, wParam)) OnFirstShow();  // and the dialog manager's handling
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  return ui::ColourPageControl(message, wParam, lParam, result);
}

}  // namespace backup_pages

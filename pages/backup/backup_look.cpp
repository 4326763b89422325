#include "pages/backup/backup_look.h"

#include "ui/gdi.h"

namespace backup_pages {

void PaintPage(HWND page, HDC dc, HFONT font, std::initializer_list<TextLine> lines) {
  RECT client = {};
  GetClientRect(page, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    ui::Select selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    for (const TextLine& line : lines) TextOutW(dc, line.x, line.y, line.text, lstrlenW(line.text));
  }
  ui::Brush accent(CreateSolidBrush(kAccent));
  const RECT edges[] = {{0, 0, client.right, 1},
                        {client.right - 1, 0, client.right, client.bottom},
                        {0, client.bottom - 1, client.right, client.bottom}};
  for (const RECT& edge : edges) FillRect(dc, &edge, accent.get());
}

void SkinButton(HWND page, int id, ui::CSkinButton& button, const wchar_t* bitmapPath) {
  HWND control = GetDlgItem(page, id);
  if (!control || !button.Bind(control)) return;
  button.Load(bitmapPath);
  SetWindowPos(control, nullptr, 0, 0, kButtonWidth, kButtonHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Ask(HWND page, const wchar_t* text, UINT icon) {
  UINT buttons = icon == MB_ICONQUESTION ? MB_OKCANCEL : MB_OK;
  return MessageBoxW(GetParent(page), text, L"Lumaspan", buttons | icon);
}

}  // namespace backup_pages

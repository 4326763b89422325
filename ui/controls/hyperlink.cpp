#include "ui/controls/hyperlink.h"

#include <shellapi.h>

#include "ui/paint.h"

bool CHyperLink::Attach(HWND control) {
  if (!Subclass(control)) return false;
  HFONT base = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW lf = {};
  if (GetObjectW(base ? static_cast<HGDIOBJ>(base) : GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf)) {
    lf.lfUnderline = TRUE;
    font_.reset(CreateFontIndirectW(&lf));
  }
  return true;
}

void CHyperLink::SetLink(const wchar_t* text, const wchar_t* target) {
  target_ = target ? target : L"";
  if (hwnd()) {
    SetWindowTextW(hwnd(), text && *text ? text : target_.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

void CHyperLink::Open() {
  if (!target_.empty()) ShellExecuteW(GetParent(hwnd()), L"open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CHyperLink::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  // The parent's colouring of statics gives the background, as for any static text.
  HBRUSH background = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
  FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));
  wchar_t text[512] = {};
  GetWindowTextW(hwnd(), text, 512);
  ui::Select font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLinkColor);
  DrawTextW(dc, text, -1, &client, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool CHyperLink::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  switch (message) {
    case WM_NCHITTEST:
      result = HTCLIENT;
      return true;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    case WM_LBUTTONUP:
      Open();
      return true;
  }
  return false;
}

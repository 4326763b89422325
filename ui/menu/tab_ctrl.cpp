#include "ui/menu/tab_ctrl.h"

#include "ui/paint.h"

HWND ui_TabCtrl::Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
  if (hwnd()) return nullptr;
  HWND tab = CreateWindowExW(0, WC_TABCONTROLW, L"", style | TCS_OWNERDRAWFIXED, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ui::Instance(), nullptr);
  if (!tab) return nullptr;
  if (!Attach(tab)) {
    DestroyWindow(tab);
    return nullptr;
  }
  return tab;
}

bool ui_TabCtrl::Attach(HWND tab) {
  if (!Subclass(tab)) return false;
  SetWindowLongW(tab, GWL_STYLE, GetWindowLongW(tab, GWL_STYLE) | TCS_OWNERDRAWFIXED);
  Measure();
  return true;
}

void ui_TabCtrl::Measure() {
  ui::WindowDC dc(hwnd());
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  ui::Select select(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc.get(), &tm);
  frameHeight_ = GetSystemMetrics(SM_CYFRAME);
  tabHeight_ = tm.tmHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME) + frameHeight_;
}

void ui_TabCtrl::SetColors(COLORREF selectedBackground, COLORREF normalBackground, COLORREF clientBackground,
                           COLORREF text, COLORREF stripBackground) {
  selectedBackground_ = selectedBackground;
  normalBackground_ = normalBackground;
  clientBackground_ = clientBackground;
  textColor_ = text;
  stripBackground_ = stripBackground;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void ui_TabCtrl::SetTabFont(const wchar_t* face, int height, int weight) {
  fontFace_ = face ? face : L"";
  fontHeight_ = height;
  fontWeight_ = weight;
  tabFont_.reset(fontFace_.empty() ? nullptr : ui::MakeFont(fontFace_.c_str(), fontHeight_, fontWeight_));
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void ui_TabCtrl::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  ui::Brush clientBrush(CreateSolidBrush(clientBackground_));
  FillRect(dc, &client, clientBrush.get());
  RECT strip = client;
  strip.bottom = strip.top + tabHeight_ - frameHeight_;
  ui::Brush stripBrush(CreateSolidBrush(stripBackground_));
  FillRect(dc, &strip, stripBrush.get());
  // The control draws its frame and asks for each tab (WM_DRAWITEM) into the same DC.
  Default(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void ui_TabCtrl::DrawTab(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_TAB || static_cast<int>(item.itemID) < 0) return;
  wchar_t text[256] = {};
  TCITEMW tab = {};
  tab.mask = TCIF_TEXT | TCIF_IMAGE;
  tab.pszText = text;
  tab.cchTextMax = 255;
  if (!SendMessageW(hwnd(), TCM_GETITEMW, item.itemID, reinterpret_cast<LPARAM>(&tab))) return;

  HDC dc = item.hDC;
  ui::SavedDC saved(dc);
  if (tabFont_) SelectObject(dc, tabFont_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColor_);
  RECT r = item.rcItem;
  bool selected = static_cast<int>(item.itemID) == static_cast<int>(SendMessageW(hwnd(), TCM_GETCURSEL, 0, 0));
  ui::Brush fill(CreateSolidBrush(selected ? selectedBackground_ : normalBackground_));
  FillRect(dc, &r, fill.get());
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd(), TCM_GETIMAGELIST, 0, 0));
  if (images && tab.iImage >= 0) {
    SIZE space = {};
    GetTextExtentPoint32W(dc, L" ", 1, &space);
    r.left += space.cx;
    ImageList_Draw(images, tab.iImage, dc, r.left, r.top, ILD_TRANSPARENT);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    r.left += width;
  }
  DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

bool ui_TabCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  switch (message) {
    case WM_LBUTTONDOWN:
      return locked_;  // consumed while locked: the selection stays
    case WM_SETFONT:
      result = Default(message, wParam, lParam);
      Measure();
      return true;
    case ui::OCM_DRAWITEM:
      DrawTab(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
  }
  return false;
}

#include "ui/controls/image_list_box.h"

#include <vector>

namespace ui {
namespace {

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

void Text(HDC dc, int x, int y, const std::wstring& text) {
  if (!text.empty()) TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// The whole text of a row, however long: the list box keeps strings of any length.
std::wstring RowString(HWND list, UINT index) {
  LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return std::wstring();
  return std::wstring(buffer.data(), static_cast<size_t>(copied < length ? copied : length));
}

}  // namespace

bool CImageListBox::Bind(HWND listBox) {
  if (!Subclass(listBox)) return false;
  // A fixed-height list measured its rows when it was created, before it was ours.
  LONG_PTR style = GetWindowLongPtrW(listBox, GWL_STYLE);
  if (style & LBS_OWNERDRAWFIXED) {
    SendMessageW(listBox, LB_SETITEMHEIGHT, 0, rowHeight_);
  } else if (style & LBS_OWNERDRAWVARIABLE) {
    LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) SendMessageW(listBox, LB_SETITEMHEIGHT, i, rowHeight_);
  }
  return true;
}

HWND CImageListBox::Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id) {
  if (hwnd()) return nullptr;
  HWND list = CreateWindowExW(exStyle, L"LISTBOX", L"", style | WS_CHILD, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Instance(), nullptr);
  if (list && !Bind(list)) {
    DestroyWindow(list);
    return nullptr;
  }
  return list;
}

LRESULT CImageListBox::AddItem(const wchar_t* text, Gdiplus::Image* image) {
  LRESULT index = SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : L""));
  // LB_SETITEMDATA of index -1 would give the image to every row.
  if (index < 0) return index;
  return SendMessageW(hwnd(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(image));
}

bool CImageListBox::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case OCM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = rowHeight_;
      result = TRUE;
      return true;
    case OCM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
  }
  return false;
}

void CImageListBox::Draw(const DRAWITEMSTRUCT& item) {
  // An empty list still asks for its (empty) focus item: nothing to draw.
  LRESULT count = SendMessageW(hwnd(), LB_GETCOUNT, 0, 0);
  if (item.CtlType != ODT_LISTBOX || count <= 0 || item.itemID >= static_cast<UINT>(count)) return;

  Row row;
  row.text = RowString(hwnd(), item.itemID);
  LRESULT data = SendMessageW(hwnd(), LB_GETITEMDATA, item.itemID, 0);
  if (data != LB_ERR && data != 0) {
    row.image = reinterpret_cast<Gdiplus::Image*>(data);
    row.imageWidth = static_cast<int>(row.image->GetWidth());
    if (row.imageWidth <= 0 || row.image->GetHeight() == 0) {  // an image that failed to load
      row.image = nullptr;
      row.imageWidth = 0;
    }
  }

  HDC dc = item.hDC;
  SavedDC saved(dc);
  const RECT& r = item.rcItem;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  // The whole row is painted every time, the border of a selected row too, so that nothing of an
  // earlier look (or of an earlier focus rectangle) stays behind.
  Fill(dc, r, item.itemID % 2 ? kOddRow : kEvenRow);
  if (selected) Fill(dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kSelectedRow);
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);

  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  row.textOffset = ((r.bottom - r.top) - metrics.tmHeight) / 2;
  DrawRow(dc, r, row);

  // Drawn from the state, not toggled by the action: the row was just repainted, so an
  // XOR rectangle drawn on every focus change would stay behind when the focus leaves.
  if (item.itemState & ODS_FOCUS) {
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &r);
  }
}

void CImageListBox::DrawRow(HDC dc, const RECT& r, const Row& row) {
  Text(dc, r.left + row.imageWidth + 12, r.top + row.textOffset, row.text);
  DrawImage(dc, row.image, 3, r.top + 2);
}

void CImageListBox::DrawImage(HDC dc, Gdiplus::Image* image, int x, int y) {
  if (!image) return;
  auto width = static_cast<INT>(image->GetWidth());
  auto height = static_cast<INT>(image->GetHeight());
  if (width <= 0 || height <= 0) return;
  Gdiplus::Graphics graphics(dc);
  // Its own pixel size, whatever resolution the file claims.
  graphics.DrawImage(image, x, y, width, height);
}

CImageListBoxHivescrub::RowText CImageListBoxHivescrub::Split(const std::wstring& text) {
  RowText out;
  size_t bar = text.find(L'|');
  std::wstring detail;
  if (bar == std::wstring::npos) {
    out.title = text;
    detail = text;
  } else {
    out.title = text.substr(0, bar);
    detail = text.substr(bar + 1);
  }
  out.line1 = detail.substr(0, kDetailLine);
  if (detail.size() > kDetailLine) out.line2 = detail.substr(kDetailLine, kDetailLine);
  return out;
}

CImageListBoxHivescrub::CImageListBoxHivescrub()
    : CImageListBox(50), title_(MakeFont(L"Arial", 14, FW_BOLD)), detail_(MakeFont(L"Arial", 14)) {}

void CImageListBoxHivescrub::DrawRow(HDC dc, const RECT& r, const Row& row) {
  RowText text = Split(row.text);
  int x = r.left + row.imageWidth + 16;
  {
    Select font(dc, title_.get());
    Text(dc, x, r.top + row.textOffset - 12, text.title);
  }
  {
    Select font(dc, detail_.get());
    Text(dc, x, r.top + row.textOffset + 2, text.line1);
    Text(dc, x, r.top + row.textOffset + 16, text.line2);
  }
  DrawImage(dc, row.image, 6, r.top + 16);
}

}  // namespace ui

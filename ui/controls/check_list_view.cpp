#include "ui/controls/check_list_view.h"

#include <commctrl.h>

#include <climits>
#include <vector>

namespace ui {
namespace {

// State image 1 is the empty box, 2 the ticked one.
constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

HWND CheckListView::Create(HWND parent, const RECT& rect, const wchar_t* name, DWORD style, DWORD exStyle,
                           UINT id) {
  if (hwnd()) return nullptr;
  HWND list = CreateWindowExW(exStyle, WC_LISTVIEWW, name, style | WS_CHILD, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Instance(), nullptr);
  if (!list) return nullptr;
  if (!Subclass(list)) {
    DestroyWindow(list);
    return nullptr;
  }
  // A mask of 0 replaces whatever extended styles the control started with.
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kExtendedStyle);
  return list;
}

int CheckListView::InsertColumn(int column, const wchar_t* heading, int width) {
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = const_cast<wchar_t*>(heading ? heading : L"");
  col.cx = width;
  col.iSubItem = column;
  return static_cast<int>(SendMessageW(hwnd(), LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&col)));
}

int CheckListView::AddRow(const wchar_t* text) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = INT_MAX;  // after the last row
  item.pszText = const_cast<wchar_t*>(text ? text : L"");
  return static_cast<int>(SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CheckListView::SetText(int row, int column, const wchar_t* text) {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text ? text : L"");
  return SendMessageW(hwnd(), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::wstring CheckListView::Text(int row, int column) const {
  if (row < 0 || row >= RowCount()) return std::wstring();
  // The control copies what fits and says how much it copied; a text that filled the buffer may
  // be longer, so ask again with more room.
  for (size_t size = 264; size <= 32768; size *= 2) {
    std::vector<wchar_t> buffer(size, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    auto n = static_cast<size_t>(SendMessageW(hwnd(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (n + 1 < size || size == 32768) return std::wstring(buffer.data(), n < size ? n : size - 1);
  }
  return std::wstring();
}

int CheckListView::RowCount() const { return static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0)); }

void CheckListView::DeleteAllRows() { SendMessageW(hwnd(), LVM_DELETEALLITEMS, 0, 0); }

bool CheckListView::IsChecked(int row) const {
  auto state = static_cast<UINT>(SendMessageW(hwnd(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == kChecked;
}

void CheckListView::SetChecked(int row, bool checked) {
  LVITEMW item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = checked ? kChecked : kUnchecked;
  SendMessageW(hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void CheckListView::SetAllChecked(bool checked) { SetChecked(-1, checked); }  // -1: every row

}  // namespace ui

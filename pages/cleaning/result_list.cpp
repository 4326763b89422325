#include "pages/cleaning/result_list.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

namespace cleaning_pages {
namespace {

constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

HWND ResultList::Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
  HWND list = CheckListView::Create(parent, rect, L"", style | LVS_OWNERDATA, 0, id);
  // The check marks are not kept by an owner-data control: it asks for them with the texts.
  if (list) SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  return list;
}

void ResultList::Append(size_t item) {
  items_.push_back(item);
  checked_.push_back(true);
  countDue_ = true;
}

void ResultList::RemoveItems(const std::vector<size_t>& sortedItems) {
  size_t kept = 0;
  for (size_t row = 0; row < items_.size(); ++row) {
    if (std::binary_search(sortedItems.begin(), sortedItems.end(), items_[row])) continue;
    items_[kept] = items_[row];
    checked_[kept] = checked_[row];
    ++kept;
  }
  items_.resize(kept);
  checked_.resize(kept);
  if (!hwnd()) return;
  // The rows below the first removed one now show other items: all of it is drawn again, and no
  // row stays selected for an item it no longer shows.
  countDue_ = false;
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, items_.size(), 0);
  LVITEMW none = {};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  InvalidateRect(hwnd(), nullptr, FALSE);
}

size_t ResultList::ItemAt(int row) const {
  return row >= 0 && static_cast<size_t>(row) < items_.size() ? items_[row] : SIZE_MAX;
}

bool ResultList::IsRowChecked(int row) const {
  return row >= 0 && static_cast<size_t>(row) < checked_.size() && checked_[row];
}

void ResultList::SyncCount() {
  countDue_ = false;
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, items_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ResultList::SetRowsChecked(int row, bool checked) {
  if (row == -1) {
    checked_.assign(checked_.size(), checked);
    InvalidateRect(hwnd(), nullptr, FALSE);
  } else if (row >= 0 && static_cast<size_t>(row) < checked_.size()) {
    checked_[row] = checked;
    SendMessageW(hwnd(), LVM_REDRAWITEMS, row, row);
  }
}

bool ResultList::ToggleAt(LPARAM point) {
  LVHITTESTINFO hit = {};
  hit.pt = ui::PointFromLParam(point);
  int row = static_cast<int>(SendMessageW(hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
  SetRowsChecked(row, !IsRowChecked(row));
  // The click is this list's alone, so the control cannot toggle the box a second time; the row
  // is selected as a click on it would.
  SetFocus(hwnd());
  LVITEMW selected = {};
  selected.stateMask = selected.state = LVIS_SELECTED | LVIS_FOCUSED;
  Default(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
  return true;
}

void ResultList::ShowRows() {
  if (countDue_ && hwnd()) SyncCount();
}

bool ResultList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Whoever asks the control about its rows hears of every row; its drawing and the user's
  // clicks meanwhile work on the rows it was last told of.
  if (countDue_ && message >= LVM_FIRST && message < LVM_FIRST + 0x100 && message != LVM_SETITEMCOUNT) SyncCount();
  switch (message) {
    case LVM_SETITEMSTATE: {
      const auto* state = reinterpret_cast<const LVITEMW*>(lParam);
      if (!state || !(state->stateMask & LVIS_STATEIMAGEMASK)) return false;
      UINT image = state->state & LVIS_STATEIMAGEMASK;
      if (image == kChecked || image == kUnchecked) SetRowsChecked(static_cast<int>(wParam), image == kChecked);
      LVITEMW rest = *state;  // selection and focus are still the control's
      rest.stateMask &= ~LVIS_STATEIMAGEMASK;
      result = rest.stateMask ? Default(message, wParam, reinterpret_cast<LPARAM>(&rest)) : TRUE;
      return true;
    }
    case LVM_DELETEALLITEMS:
      items_.clear();
      checked_.clear();
      SyncCount();
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      result = 0;
      return ToggleAt(lParam);
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        int row = static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (row >= 0) SetRowsChecked(row, !IsRowChecked(row));
        result = 0;
        return true;
      }
      return false;
  }
  return false;
}

}  // namespace cleaning_pages

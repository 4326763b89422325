#include "pages/home_registry/home_list_view.h"

#include <commctrl.h>

HWND CHomeListView::Create(HWND parent, const RECT& rect, UINT id) {
  constexpr DWORD kStyle = WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  HWND list = CheckListView::Create(parent, rect, L"", kStyle, WS_EX_CLIENTEDGE, id);
  if (list) SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  return list;
}

int CHomeListView::AddRow(const std::wstring& first, const std::wstring& second, const std::wstring& third) {
  int row = CheckListView::AddRow(first.c_str());
  if (row < 0) return row;
  SetText(row, 1, second.c_str());
  if (!third.empty()) SetText(row, 2, third.c_str());
  return row;
}

void CHomeListView::Queue(std::wstring first, std::wstring second, std::wstring third) {
  queued_.push_back(Row{std::move(first), std::move(second), std::move(third)});
}

void CHomeListView::ShowQueued() {
  if (queued_.empty() || !hwnd()) return;
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  for (const Row& row : queued_) AddRow(row.first, row.second, row.third);
  queued_.clear();
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);  // the list invalidates itself
}

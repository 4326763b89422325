#include "pages/home_registry/home_list_view.h"

#include <algorithm>

#include "pages/home_registry/registry_exclusion.h"

HWND CHomeListView::Create(HWND parent, const RECT& rect, UINT id) {
  constexpr DWORD kStyle = WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
  HWND list = CheckListView::Create(parent, rect, L"", kStyle, WS_EX_CLIENTEDGE, id);
  if (list) SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  return list;
}

void CHomeListView::Queue(std::wstring first, std::wstring second, std::wstring third) {
  rows_.push_back(Row{{std::move(first), std::move(second), std::move(third)}});
}

void CHomeListView::ShowQueued() {
  if (rows_.size() == shownRows_ || !hwnd()) return;
  shownRows_ = rows_.size();
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, shownRows_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void CHomeListView::GiveCell(NMLVDISPINFOW* info) const {
  LVITEMW& cell = info->item;
  if (!(cell.mask & LVIF_TEXT) || !cell.pszText || cell.cchTextMax <= 0) return;
  cell.pszText[0] = L'\0';
  if (cell.iItem < 0 || static_cast<size_t>(cell.iItem) >= rows_.size() || cell.iSubItem < 0 || cell.iSubItem > 2)
    return;
  const std::wstring& text = rows_[cell.iItem].cells[cell.iSubItem];
  size_t n = std::min(text.size(), static_cast<size_t>(cell.cchTextMax) - 1);
  text.copy(cell.pszText, n);
  cell.pszText[n] = L'\0';
}

const base::ExclusionSet& CHomeListView::Excluded() const {
  if (!excluded_) excluded_ = std::make_unique<base::ExclusionSet>(base::ExclusionSet::Load());
  return *excluded_;
}

bool CHomeListView::Hides(const registry_scan::RegistryProblem& problem) const {
  return registry_pages::IsExcluded(Excluded(), problem);
}

bool CHomeListView::Hides(const cleaning_pages::FoundItem& item) const {
  return cleaning_pages::IsExcluded(Excluded(), item);
}

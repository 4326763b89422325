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
  Row row = std::move(next_);
  next_ = Row();
  row.cells[0] = std::move(first);
  row.cells[1] = std::move(second);
  row.cells[2] = std::move(third);
  rows_.push_back(std::move(row));
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

const base::ExclusionSet& CHomeListView::Excluded() {
  if (!excluded_) excluded_ = std::make_unique<base::ExclusionSet>(base::ExclusionSet::Load());
  return *excluded_;
}

bool CHomeListView::Hides(const registry_scan::RegistryProblem& problem) {
  if (registry_pages::IsExcluded(Excluded(), problem)) return true;
  next_ = Row();
  next_.identity = registry_pages::ProblemExclusion(problem);
  return false;
}

bool CHomeListView::Hides(const cleaning_pages::FoundItem& item) {
  if (cleaning_pages::IsExcluded(Excluded(), item)) return true;
  next_ = Row();
  next_.identity = cleaning_pages::ItemExclusion(item);
  if (!cleaning_pages::IsRegistryItem(item)) next_.folder = item.location;
  return false;
}

void CHomeListView::RemoveRow(size_t row) {
  if (row >= rows_.size()) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  shownRows_ = rows_.size();
  if (!hwnd()) return;
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, shownRows_, 0);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CHomeListView::IgnoreRow(int row, cleaning_pages::IgnoreChoice choice) {
  if (!ignoreOwner_ || row < 0 || static_cast<size_t>(row) >= rows_.size()) return false;
  const Row& chosen = rows_[row];
  if (choice == cleaning_pages::IgnoreChoice::kNone || chosen.identity.identity.empty()) return false;
  if (choice == cleaning_pages::IgnoreChoice::kFolder && chosen.folder.empty()) return false;
  base::Exclusion exclusion = choice == cleaning_pages::IgnoreChoice::kFolder
                                  ? base::Exclusion{base::ExclusionKind::kFolder, chosen.folder}
                                  : chosen.identity;
  if (!cleaning_pages::StoreExclusion(GetAncestor(hwnd(), GA_ROOT), exclusion)) return false;
  base::ExclusionSet now({exclusion});
  for (size_t r = rows_.size(); r-- > 0;) {
    const base::Exclusion& id = rows_[r].identity;
    bool gone = id.kind == base::ExclusionKind::kRegistry ? id.identity == exclusion.identity
                                                          : !id.identity.empty() && now.ExcludesPath(id.identity);
    if (!gone) continue;
    RemoveRow(r);
    SendMessageW(ignoreOwner_, kRowIgnoredMessage, static_cast<WPARAM>(group_), static_cast<LPARAM>(r));
  }
  return true;
}

bool CHomeListView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_CONTEXTMENU || !ignoreOwner_) return false;
  int row = cleaning_pages::ContextRow(hwnd(), lParam);
  if (row >= 0 && !rows_[row].identity.identity.empty()) {
    bool folder = !rows_[row].folder.empty();
    IgnoreRow(row, cleaning_pages::AskIgnore(hwnd(), cleaning_pages::MenuPoint(hwnd(), row, lParam), folder));
  }
  result = 0;
  return true;
}

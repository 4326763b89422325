// CHomeListView: a result list of the one-click scan page, a report list with grid lines and
// full-row selection (and no check boxes: Repair All takes every row). The rows live here and the
// control asks for their texts when it draws them (an owner-data list): the scan lists hundreds
// of rows at once, and the control then only learns how many there are.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "base/exclusions.h"
#include "pages/cleaning/found_items.h"
#include "pages/home_registry/registry_scan.h"

#include "ui/controls/check_list_view.h"

class CHomeListView : public ui::CheckListView {
 public:
  // Creates the list (child, border, single selection, selection always shown, client edge),
  // hidden, with full-row selection and grid lines.
  HWND Create(HWND parent, const RECT& rect, UINT id);
  // Keeps a row of up to three cells for the next ShowQueued.
  void Queue(std::wstring first, std::wstring second, std::wstring third);
  // Lets the control know of the rows queued since the last call; a shown list draws the new rows
  // it shows when the thread is idle.
  void ShowQueued();
  // True when the user's exclusions exclude a report meant for this list: the home page then
  // neither keeps, lists nor counts it (nor repairs it, nor scores it). The exclusions are read at
  // the first question, once per scan: a list lives for one scan.
  bool Hides(const registry_scan::RegistryProblem& problem) const;
  bool Hides(const cleaning_pages::FoundItem& item) const;
  // The answer to the control's LVN_GETDISPINFO, which reaches the parent window.
  void GiveCell(NMLVDISPINFOW* info) const;

 private:
  struct Row {
    std::wstring cells[3];
  };
  std::vector<Row> rows_;
  size_t shownRows_ = 0;  // the row count the control has
  const base::ExclusionSet& Excluded() const;
  mutable std::unique_ptr<base::ExclusionSet> excluded_;
};

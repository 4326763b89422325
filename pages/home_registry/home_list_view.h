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
#include "pages/cleaning/ignore_menu.h"
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
  // Sent to the ignore owner for each row "Ignore this item" (or "Ignore this folder") took off:
  // wParam the list's group, lParam the row it had. The row is gone from this list by then.
  static constexpr UINT kRowIgnoredMessage = WM_APP + 0x151;

  // True when the user's exclusions exclude a report meant for this list: the home page then
  // neither keeps, lists nor counts it (nor repairs it, nor scores it). Otherwise the report's
  // identity is kept for the row the page queues next. The exclusions are read at the first
  // question, once per scan: a list lives for one scan.
  bool Hides(const registry_scan::RegistryProblem& problem);
  bool Hides(const cleaning_pages::FoundItem& item);
  // From now on a right click offers "Ignore this item" on the rows whose identity is known, and
  // the owner hears of every row taken off.
  void SetIgnoreOwner(HWND owner, int group) {
    ignoreOwner_ = owner;
    group_ = group;
  }
  // "Ignore this item" or "Ignore this folder" for a row: stores the exclusion and takes off every
  // row it now excludes, last first, telling the owner of each. False when nothing was stored.
  bool IgnoreRow(int row, cleaning_pages::IgnoreChoice choice);
  size_t Rows() const { return rows_.size(); }
  // The answer to the control's LVN_GETDISPINFO, which reaches the parent window.
  void GiveCell(NMLVDISPINFOW* info) const;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Row {
    std::wstring cells[3];
    base::Exclusion identity;  // empty for a row of no identity (file types, settings, controls)
    std::wstring folder;       // a file's folder, for "Ignore this folder"
  };
  void RemoveRow(size_t row);
  std::vector<Row> rows_;
  size_t shownRows_ = 0;  // the row count the control has
  const base::ExclusionSet& Excluded();
  std::unique_ptr<base::ExclusionSet> excluded_;
  Row next_;  // the identity Hides kept for the next queued row
  HWND ignoreOwner_ = nullptr;
  int group_ = 0;
};

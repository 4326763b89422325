// The result list of a cleaning scan: one checked row per found item, tens of thousands of them
// for a large temporary folder.
//
// The rows live here, not in the control: the list view is "owner data" and holds only their
// number, each row here is the owner's item number and its check mark, and the texts are asked
// of the page when a row is drawn or read (the parent's LVN_GETDISPINFO, answered through
// ItemAt and IsRowChecked). A list view that kept every row and its texts itself costs hundreds of
// bytes and several messages per row. Everything the check list's own calls do still works:
// rows are read, counted and checked with the usual list-view messages, which this class answers
// from its rows, and a click on a check box or the space bar toggles it.
//
// While rows come in the list is "frozen" (its redrawing off) and drawn on request, as a list
// redrawn for every row added takes far longer over it than the scan took to find it; a paint it
// gets meanwhile (it was covered and is uncovered) still draws it whole.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "ui/controls/check_list_view.h"

namespace cleaning_pages {

class ResultList : public ui::CheckListView {
 public:
  // The control's styles, LVS_OWNERDATA added; answers the check marks from here.
  HWND Create(HWND parent, const RECT& rect, DWORD style, UINT id);
  // Appends a checked row for the owner's item. The control learns the new count before it next
  // draws or answers anything.
  void Append(size_t item);
  // The owner's item a row shows, or SIZE_MAX.
  size_t ItemAt(int row) const;
  bool IsRowChecked(int row) const;

  void Freeze();
  void Thaw();
  // Draws the list as it is now and leaves it frozen.
  void Refresh();
  bool frozen() const { return frozen_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SyncCount();
  void SetRowsChecked(int row, bool checked);  // row -1: every row
  bool ToggleAt(LPARAM point);  // true when the point was on a check box

  std::vector<size_t> items_;
  std::vector<bool> checked_;
  bool countDue_ = false;
  bool frozen_ = false;
};

}  // namespace cleaning_pages

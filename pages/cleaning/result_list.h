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
// While rows come in, the control is told how many there are only when the page asks (ShowRows,
// a few times a second), not per row: each telling costs it a new scroll range and a redraw of
// its scroll bar and of the new rows in view. A list-view message sent to it still sees every row
// appended so far.
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
  // Appends a checked row for the owner's item. The control learns the new count on ShowRows, or
  // before it answers any list-view message.
  void Append(size_t item);
  // Tells the control the rows appended since it was last told; it draws those in view.
  void ShowRows();
  // The rows appended, told to the control or not.
  size_t Rows() const { return items_.size(); }
  // Drops the rows showing any of these owner's items (sorted ascending); the rest keep their order
  // and check marks.
  void RemoveItems(const std::vector<size_t>& sortedItems);
  // The owner's item a row shows, or SIZE_MAX.
  size_t ItemAt(int row) const;
  bool IsRowChecked(int row) const;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SyncCount();
  void SetRowsChecked(int row, bool checked);  // row -1: every row
  bool ToggleAt(LPARAM point);  // true when the point was on a check box

  std::vector<size_t> items_;
  std::vector<bool> checked_;
  bool countDue_ = false;
};

}  // namespace cleaning_pages

// CHomeListView: a result list of the one-click scan page, a report list with grid lines and
// full-row selection (and no check boxes: Repair All takes every row).
#pragma once
#include <string>
#include <vector>

#include "ui/controls/check_list_view.h"

class CHomeListView : public ui::CheckListView {
 public:
  // Creates the list (child, border, single selection, selection always shown, client edge),
  // hidden, with full-row selection and grid lines.
  HWND Create(HWND parent, const RECT& rect, UINT id);
  // Appends a row of up to three cells; its index or -1.
  int AddRow(const std::wstring& first, const std::wstring& second, const std::wstring& third = std::wstring());
  // Keeps a row for the next ShowQueued. Rows arrive by the thousand, and a list view given them
  // one at a time while shown redraws its scroll bar for every one.
  void Queue(std::wstring first, std::wstring second, std::wstring third);
  // Appends the queued rows, the list's drawing held off meanwhile; a shown list draws itself once
  // afterwards, when the thread is idle. Turning drawing back on may make a hidden list visible
  // (Windows does): the caller shows or hides it afterwards.
  void ShowQueued();

 private:
  struct Row {
    std::wstring first, second, third;
  };
  std::vector<Row> queued_;
};

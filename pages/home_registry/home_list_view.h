// CHomeListView: a result list of the one-click scan page, a report list with grid lines and
// full-row selection (and no check boxes: Repair All takes every row).
#pragma once
#include "ui/controls/check_list_view.h"

class CHomeListView : public ui::CheckListView {
 public:
  // Creates the list (child, border, single selection, selection always shown, client edge),
  // hidden, with full-row selection and grid lines.
  HWND Create(HWND parent, const RECT& rect, UINT id);
  // Appends a row of up to three cells; its index or -1.
  int AddRow(const std::wstring& first, const std::wstring& second, const std::wstring& third = std::wstring());
};

// A report list with a check box on every row, grid lines and full-row selection. The rows, columns
// and check states live in the list-view control itself; this class only creates it and gives the
// pages short names for what they do with it. Notifications (LVN_ITEMCHANGED...) are left to the
// parent page.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/window.h"

namespace ui {

class CheckListView : public Window {
 public:
  // The extended styles every check list has: grid lines, check boxes, full-row selection (37).
  static constexpr DWORD kExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;

  // Creates the list-view control as a child of parent; style gets WS_CHILD added. Returns the
  // window, or null (also when this object already has one).
  HWND Create(HWND parent, const RECT& rect, const wchar_t* name, DWORD style, DWORD exStyle, UINT id);

  // Appends a column; returns its index or -1.
  int InsertColumn(int column, const wchar_t* heading, int width);
  // Appends a row with the text of column 0, unchecked; returns its index or -1.
  int AddRow(const wchar_t* text);
  bool SetText(int row, int column, const wchar_t* text);
  // The whole text of a cell ("" for a row or column that does not exist).
  std::wstring Text(int row, int column) const;
  int RowCount() const;
  void DeleteAllRows();

  bool IsChecked(int row) const;
  void SetChecked(int row, bool checked);
  void SetAllChecked(bool checked);
};

}  // namespace ui

// Dialogs from .rc templates: modal (DoModal) and modeless child pages (Create). The dialog is a
// framework window like any other: its messages reach OnMessage with plain window-procedure results
// (a brush for WM_CTLCOLOR..., TRUE from WM_INITDIALOG to take the default focus), and the dialog
// manager's own handling is the default.
#pragma once
#include "ui/window.h"

namespace ui {

class Dialog : public Window {
 public:
  explicit Dialog(UINT templateId) : template_(templateId) {}

  // Runs the dialog modally; returns the value given to EndDialog, or -1 when it could not start.
  INT_PTR DoModal(HWND parent);
  // Creates the dialog as a modeless window (a page: a child of parent).
  HWND Create(HWND parent);
  void EndDialog(INT_PTR result);
  UINT templateId() const { return template_; }

  // Check-box data exchange: save reads the controls into the members, else the members are shown.
  void UpdateData(bool save);

 protected:
  virtual void DoDataExchange(bool /*save*/) {}
  void ExchangeCheck(int id, int& value, bool save);
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

 private:
  static INT_PTR CALLBACK StubProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  UINT template_;
};

}  // namespace ui

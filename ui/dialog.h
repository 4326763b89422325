// Dialogs from .rc templates: modal (DoModal) and modeless child pages (Create). The dialog is a
// framework window like any other: its messages reach OnMessage with plain window-procedure results
// (a brush for WM_CTLCOLOR..., TRUE from WM_INITDIALOG to take the default focus), and the dialog
// manager's own handling is the default.
//
// The message families pages handle come decoded to typed handlers: initialisation, commands,
// notifications, timers and the mouse in the client area. Each handler returns true when it handled
// its message; they are tried after OnMessage, which stays for every other message (and may still
// take one of these families whole), and whatever neither takes goes to the default.
#pragma once
#include <initializer_list>

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

  // WM_INITDIALOG. The result is the message's: true lets the dialog manager give the focus to
  // defaultFocus (the first control that takes it), false when the page set the focus itself or
  // wants none.
  virtual bool OnInitDialog(HWND /*defaultFocus*/) { return true; }
  // WM_COMMAND: the control's (menu item's, accelerator's) id, the notification code, the control or
  // null. By default a click (BN_CLICKED, the code of menu and accelerator commands as well) goes
  // to OnClicked.
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool OnClicked(int /*id*/) { return false; }
  // A page's buttons as a table: OnClicked returns Clicked(*this, id, {{IDC_A, &Page::OnA}, ...}),
  // which runs the member listed for id (the first, should one be listed twice) and says whether
  // one was.
  template <class Page>
  struct Click {
    int id;
    void (Page::*run)();
  };
  template <class Page>
  static bool Clicked(Page& page, int id, std::initializer_list<Click<Page>> table) {
    for (const Click<Page>& click : table) {
      if (click.id != id) continue;
      (page.*click.run)();
      return true;
    }
    return false;
  }
  // WM_NOTIFY, whose result the handler sets (a notification such as LVN_GETDISPINFO is answered in
  // its own structure).
  virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
  // WM_MOUSEMOVE and the left, right and middle button messages, with the point in client
  // coordinates and the keys held (MK_...).
  virtual bool OnMouse(UINT /*message*/, POINT /*at*/, WPARAM /*keys*/) { return false; }

 private:
  bool OnDecoded(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  static INT_PTR CALLBACK StubProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  UINT template_;
};

}  // namespace ui

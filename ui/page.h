// A page of the main window: a modeless child dialog made from its template, created once and kept
// until the main window closes. Pages that open sub-pages (scan progress, results) go back to their
// start view in ResetToStart when the user leaves them.
#pragma once
#include "ui/dialog.h"

namespace ui {

class Page : public Dialog {
 public:
  explicit Page(UINT templateId) : Dialog(templateId) {}
  // Destroys the sub-pages the page opened and shows its start view again.
  virtual void ResetToStart() {}

 protected:
  // True for the message that first shows the page (WM_SHOWWINDOW, sent just before it appears),
  // false for every other. Pages are made hidden while the program starts, and most are never
  // visited in a session: what only a page on screen needs (a folder tree with the system's icons,
  // a listing) is made then, not at start-up.
  bool FirstShowing(UINT message, WPARAM wParam) {
    if (message != WM_SHOWWINDOW || !wParam || shown_) return false;
    shown_ = true;
    return true;
  }

 private:
  bool shown_ = false;
};

}  // namespace ui

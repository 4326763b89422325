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
};

}  // namespace ui

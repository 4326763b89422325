// What the two backup pages share: a page with a few lines of text on white, the accent lines along
// its top, right and bottom edges, skinned buttons placed to the pixel, and message boxes owned by
// the main window. The derived page makes its controls and answers its buttons.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/page.h"

namespace backup_pages {

// The page's buttons are drawn from strips of 143 x 34 frames.
constexpr int kButtonWidth = ui::CSkinButton::kFrameWidth;
constexpr int kButtonHeight = 34;

struct TextLine {
  int x, y;
  const wchar_t* text;
};

class BackupPage : public ui::Page {
 public:
  BackupPage(UINT templateId, std::initializer_list<TextLine> lines);

 protected:
  // Makes the page's controls (WM_INITDIALOG).
  virtual void OnInitPage() = 0;
  // Fills what only the page on screen needs, when it is first shown.
  virtual void OnFirstShow() {}
  // A button of the page was clicked; false when it is none of the page's.
  virtual bool OnButton(int id) = 0;

  // The page's text font, "MS Sans Serif" 10.
  HFONT textFont() const { return text_.get(); }
  // Binds a push button of the template to its skin image, sized to one frame at its place.
  void SkinButton(int id, ui::CSkinButton& button, const wchar_t* bitmapPath);
  // A message box owned by the main window (the page's parent), caption "Lumaspan": OK and Cancel
  // for a question, OK alone otherwise.
  int Ask(const wchar_t* text, UINT icon);

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnClicked(int id) override { return OnButton(id); }

 private:
  void Paint(HDC dc);

  std::vector<TextLine> lines_;
  ui::Font text_;
};

}  // namespace backup_pages

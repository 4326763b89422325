// The skinned push button of the pages, drawn from one bitmap file.
//
// Every button bitmap of the skin is a strip of frames of equal width side by side, each as tall as
// the bitmap and 143 pixels wide unless the page names another width:
//   frame 0  normal
//   frame 1  hovered or focused
//   frame 2  pressed            (when present; else frame 1)
//   frame 3  disabled           (when present; else frame 0)
// A bitmap narrower than one frame is a single frame of its own width, shown in every state. The
// single-bitmap buttons ("QOR_Button_Start_Scan.bmp", "QOR_Button_Abort.bmp"...) and the image
// strips of the backup and manager pages follow this one layout.
//
// The strip's pixels are loaded when the button is first drawn, and shared with every other button
// of the same file (ui/controls/skin_bitmaps.h): a page made at start-up and never visited holds
// none. The frame is drawn centred in the button; the rest of the button takes the parent's button
// background (WM_CTLCOLORBTN). Without a bitmap the button draws as a plain push button with its
// text. The button is made owner-drawn, so its parent must be a framework window, which reflects
// WM_DRAWITEM back to it; clicks reach the parent as WM_COMMAND BN_CLICKED as before.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/gdi.h"
#include "ui/window.h"

namespace ui {

class CSkinButton : public Window {
 public:
  static constexpr int kFrameWidth = 143;
  enum Frame { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

  // Takes over a push button (of a dialog template) and makes it owner-drawn.
  bool Bind(HWND button);
  // Takes the bitmap file (relative to the current directory, as now); false (and the plain look)
  // when it is no bitmap that can be read.
  bool Load(const wchar_t* bitmapPath, int frameWidth = kFrameWidth);

  // For holdMs from now the user's presses on the button are swallowed: a button shown where another
  // stood a moment ago takes no click that was aimed at the other. A press is the mouse's (the
  // button's key state is down in the message); BM_CLICK, a command rather than a press, still
  // clicks at once.
  void HoldPresses(DWORD holdMs);

  int frameCount() const { return frames_; }
  // The frame the button shows for a state (ODS_ flags of WM_DRAWITEM, and the mouse over it).
  int FrameFor(UINT drawState, bool hovered) const;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item);
  void DrawPlain(const DRAWITEMSTRUCT& item);
  void SetHover(bool hover);
  // The strip, loaded on first use; null (and no frames) when it cannot be loaded.
  const Bitmap* Strip();
  void Measure(LONG width, LONG height, int frameWidth);

  std::wstring path_;  // full path
  int requestedWidth_ = kFrameWidth;
  std::shared_ptr<const Bitmap> bitmap_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  int frames_ = 0;
  bool hover_ = false;
  DWORD heldFrom_ = 0;
  DWORD heldMs_ = 0;
};

}  // namespace ui

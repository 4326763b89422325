// A page for the controls to live on, as the program's pages are: a framework dialog (so owner-draw
// and notification messages are reflected to the controls) on a visible top-level window, coloured
// as the skinned pages are. And what the tests draw with: bitmap files and region comparisons.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/pixels.h"
#include "ui/dialog.h"
#include "ui/window.h"

namespace test {

class TestPage : public ui::Dialog {
 public:
  TestPage() : ui::Dialog(100) {}
  bool colour = true;                // answer WM_CTLCOLOR... with the page colouring
  std::vector<WPARAM> commands;      // WM_COMMAND wParams, in order
  int itemChanges = 0;               // LVN_ITEMCHANGED notifications that reached the page
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  TestPage& page() { return page_; }
  HWND hwnd() const { return page_.hwnd(); }

 private:
  class Frame : public ui::Window {};
  Frame frame_;
  TestPage page_;
};

// How many pixels of a rectangle of a differ from the same-sized rectangle of b at (bx, by).
int Differences(const Capture& a, const RECT& rect, const Capture& b, int bx, int by);
// Pixels of a rectangle that are near black (text), not merely grey or coloured.
int Dark(const Capture& capture, const RECT& rect);

}  // namespace test

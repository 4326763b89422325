// What the two optimizer pages share: the white page with its accent frame, the page colours, the
// skinned "Optimize" button and the message that ends an optimization.
#pragma once
#include <windows.h>

#include "ui/controls/skin_button.h"
#include "ui/page.h"

namespace optimizer_pages {

extern const wchar_t kCompleted[];
extern const wchar_t kNotApplied[];
extern const wchar_t kPartlyApplied[];

// How an optimization ended: every setting changed; none (those changed first were put back); or
// some left changed because even putting them back was refused.
enum class Outcome { kApplied = 1, kNotApplied = 0, kPartly = 2 };

class COptimizerPage : public ui::Page {
 public:
  explicit COptimizerPage(UINT templateId) : ui::Page(templateId) {}

 protected:
  // Colours, painting and the page's set-up; a page's own table comes after (false for everything
  // else).
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog(HWND defaultFocus) override;
  // When the page is first shown: the system's settings are read then, not while the program
  // starts (most sessions never open an optimizer, and its library is not even loaded then).
  virtual void OnInitPage() = 0;
  HWND MainWindow() const { return GetParent(hwnd()); }
  // "Optimization Completed!" only when everything was applied; otherwise says what is left.
  void ReportOutcome(Outcome outcome);

 private:
  ui::CSkinButton optimize_;
};

}  // namespace optimizer_pages

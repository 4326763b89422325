// CHivescrubScanDlg: the page shown while the registry scan runs. Per category an icon (waiting,
// scanning, clean, problems) and its caption with its count; the problems found, the elapsed time,
// the items processed, "Total Process" and the progress bar; and Abort.
//
// The controller (CHivescrubStartDlg) feeds it every report. Abort goes to the controller, whose
// scan session asks "Are you sure to stop scanning?" while the worker waits at its report; the
// scanning icon stands still meanwhile.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "pages/home_registry/registry_scan.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/page.h"
#include "ui/skin/bitmap.h"
#include "ui/skin/image_ex.h"

class CHivescrubScanDlg : public ui::Dialog {
 public:
  enum class Icon { kWaiting, kScanning, kClean, kProblems };
  static constexpr UINT_PTR kClockTimer = 1;
  // Paints what changed, and the scanning icon's next frame, ten times a second.
  static constexpr UINT_PTR kRefreshTimer = 2;
  // Where everything but the progress bar and the button is painted.
  static constexpr RECT kPaintedArea = {0, 0, 561, 296};

  CHivescrubScanDlg();
  ~CHivescrubScanDlg() override;

  // What Abort does: the controller asks whether to stop its scan.
  void SetAbort(std::function<void()> abort) { onAbort_ = std::move(abort); }
  // The categories chosen for this scan (their icons) and so how many there are.
  void SetSelection(const registry_scan::Selection& selection);
  // Starts the elapsed-time clock (one tick a second).
  void StartClock();
  // The scan is over: the clock, the refresh and the animation stop.
  void ScanEnded();

  // What the controller passes on from the reports.
  void ShowProgressText(const std::wstring& text);
  void CountProblem(int category);
  void BeginCategory(int category);
  void UpdateProgressBar();

  Icon IconOf(int category) const;
  // The caption of a category: its name, and " (<count>)" once it has problems. A caption too wide
  // for its column is drawn with its name shortened, the count whole.
  std::wstring CaptionOf(int category) const;
  // Categories begun x 100 / selected categories.
  int Percentage() const;
  // Where the icon of a category is drawn (16 x 16) and where its caption starts.
  static POINT IconAt(int category);
  static POINT CaptionAt(int category);

  int problemsFound() const { return problemsFound_; }
  int problemsIn(int category) const { return counts_[category]; }
  int currentCategory() const { return current_; }
  int categoriesBegun() const { return begun_; }
  int selectedCategories() const { return selected_; }
  int elapsedSeconds() const { return elapsed_; }
  int itemsProcessed() const { return itemsProcessed_; }
  const std::wstring& progressText() const { return progressText_; }

  // Renders the page's own painting into dc.
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnClicked(int id) override;
  void OnAbort();
  void Repaint();
  void RepaintIcon(int category);
  void PaintCategories(HDC dc, Gdiplus::Graphics& graphics);
  // " (<count>)" once the category has problems, else "".
  std::wstring CountText(int category) const;

  std::function<void()> onAbort_;
  registry_scan::Selection selection_ = {};
  int current_ = 0;
  int problemsFound_ = 0;
  int counts_[registry_scan::kCategories + 1] = {};
  bool begunFlags_[registry_scan::kCategories + 1] = {};
  int begun_ = 0;
  int selected_ = 0;
  int elapsed_ = 0;
  int itemsProcessed_ = 0;
  std::wstring progressText_;
  std::minstd_rand random_;
  bool changed_ = true;  // painted at the next refresh

  CXuBitmap panel_;
  ui::GpBitmap problemsIcon_, cleanIcon_, waitingIcon_;
  ImageEx scanningIcon_;
  ui::Font normal_, elapsedFont_, currentFont_, countFont_;
  ui::CSkinButton abort_;
  HWND progress_ = nullptr;
};

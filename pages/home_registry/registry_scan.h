// What the registry cleaner's pages share about one scan: the category selection, the problems the
// engine reports, and the job a scan's worker thread runs.
//
// The worker never reads the page: its job holds the page's window handle by value, its own copy of
// the categories to scan and a stop flag. The pages keep the same job (std::shared_ptr), so it
// outlives whichever side finishes last. Every report reaches the page as a sent WM_COPYDATA; the
// page's reply steers the engine (report_reply: go on, stop now, send again shortly), which is how a scan is
// paused while the abort question is open and stopped after it, with no thread ever suspended.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "pages/common/choices.h"
#include "pages/common/scan_job.h"

namespace registry_scan {

constexpr int kCategories = 15;

// One flag per category number 1-15 (index 0 unused): 1 scan it, 0 leave it.
using Selection = std::array<int, kCategories + 1>;
inline Selection AllSelected() { return common_pages::AllChosen<Selection>(); }
inline int CountSelected(const Selection& selection) { return common_pages::CountChosen(selection); }
// The selected category numbers in ascending order.
std::vector<int> SelectedCategories(const Selection& selection);

struct RegistryProblem {
  int id = 0;
  std::wstring repair;   // given back to the engine unchanged
  std::wstring display;  // "title|detail", what the user sees
  int category = 0;
};

// The text of a report: the characters of lpData up to the terminator, never reading past cbData.
std::wstring ReportText(const COPYDATASTRUCT& data);

// Splits a problem report "id|repair text|display text" at its first two "|": the id is the
// decimal number before the first, the display text everything after the second. A text without
// both separators is no problem report (false).
bool ParseProblem(const std::wstring& text, int category, RegistryProblem* problem);

// One scan: each selected category in ascending order, checking the stop flag and the page's window
// between categories; the end message is the page's kRegistryFinished (wParam: the serial).
class Job : public common_pages::ScanJob {
 public:
  Job(HWND page, std::vector<int> categories);
  const std::vector<int>& categories() const { return categories_; }

 protected:
  void Run() override;

 private:
  const std::vector<int> categories_;  // ascending
};

}  // namespace registry_scan

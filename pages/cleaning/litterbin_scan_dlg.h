// CLitterbinScanDlg: the result page of a junk scan. Besides the common result page it shows the
// drives done on a progress bar, the file being examined, and the time the scan has taken.
#pragma once
#include <string>
#include <string_view>

#include "pages/cleaning/results_dlg.h"

class CLitterbinScanDlg : public cleaning_pages::CCleaningResultsDlg {
 public:
  static constexpr UINT_PTR kClockTimer = 1;  // every second
  static constexpr UINT_PTR kTextTimer = 2;   // shows the latest examined file, ten times a second

  CLitterbinScanDlg();

  void SetQueuedDrives(int drives) { queued_ = drives; }
  // A drive is begun: the bar shows done x 100 / queued.
  void DriveStarted();
  void SetProgressText(std::wstring_view text);
  void StartClock();
  void Finish(bool aborted) override;

  int ElapsedSeconds() const { return seconds_; }
  std::wstring ElapsedText() const;  // "Elapsed Time: 00:01:15"
  int Progress() const;
  const std::wstring& ProgressText() const { return progressText_; }

 protected:
  void OnInit() override;
  void PaintExtra(HDC dc) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnTimer(UINT_PTR id) override;

 private:
  void StopTimers();

  int queued_ = 0;
  int done_ = 0;
  int seconds_ = 0;
  bool clockRunning_ = false;
  std::wstring progressText_;
  bool textChanged_ = false;
};

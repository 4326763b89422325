// CTaskbriskStartDlg: the application optimizer page (60204). Two sliders (disk buffer, menu delay)
// with a line naming what each position stands for, the automatic ending of hung applications and
// its two time-outs. "Optimize" writes them through Taskbrisk; the two time-outs only on the Windows
// 2000/XP generation, the one that reads them from the user's settings.
#pragma once
#include <windows.h>

#include "pages/optimizers/optimizer_page.h"

class CTaskbriskStartDlg : public optimizer_pages::COptimizerPage {
 public:
  CTaskbriskStartDlg();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnClicked(int id) override;
  void OnInitPage() override;

 private:
  struct Field {
    int edit, spin, low, high;
  };
  static const Field kSpeed, kAuto;

  void OnSlider(HWND slider);
  void EnableFields(bool enabled);
  // The fields follow the "end tasks automatically" box.
  void OnAutoEndTasks();
  void ShowField(const Field& field, int value);
  // The field's number, brought into its range and shown back: out-of-range text becomes the
  // nearest bound, text that is no number the value shown last.
  int ReadField(const Field& field);
  void OnOptimize();

  int lastSpeed_ = 0, lastAuto_ = 0;
};

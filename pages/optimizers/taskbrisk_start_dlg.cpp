#include "pages/optimizers/taskbrisk_start_dlg.h"

#include <commctrl.h>

#include <initializer_list>

#include "contracts/buffers.h"
#include "contracts/taskbrisk.h"
#include "contracts/tools.h"
#include "pages/optimizers/resource.h"

using namespace optimizer_pages;

namespace {

constexpr int kSliderMax = 10;

// A field's text as a number: spaces around it, an optional minus and digits. Numbers too long for
// an int come out as a huge value of their sign, which the range then bounds.
bool ParseNumber(const wchar_t* text, long long* value) {
  while (*text == L' ') ++text;
  bool negative = *text == L'-';
  if (negative) ++text;
  long long number = 0;
  const wchar_t* digits = text;
  while (*text >= L'0' && *text <= L'9') {
    if (number < 1000000000LL) number = number * 10 + (*text - L'0');
    ++text;
  }
  if (text == digits) return false;
  while (*text == L' ') ++text;
  if (*text) return false;
  *value = negative ? -number : number;
  return true;
}

}  // namespace

const CTaskbriskStartDlg::Field CTaskbriskStartDlg::kSpeed = {IDC_SPEED, IDC_SPEED_SPIN, 1, 30};
const CTaskbriskStartDlg::Field CTaskbriskStartDlg::kAuto = {IDC_AUTO, IDC_AUTO_SPIN, 1, 10};

CTaskbriskStartDlg::CTaskbriskStartDlg() : COptimizerPage(IDD_TASKBRISK_START) {}

void CTaskbriskStartDlg::OnInitPage() {
  for (int slider : {IDC_DISK_BUFFER, IDC_MENU_DELAY}) SendDlgItemMessageW(hwnd(), slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kSliderMax));
  for (const Field* field : {&kSpeed, &kAuto})
    SendDlgItemMessageW(hwnd(), field->spin, UDM_SETRANGE32, field->low, field->high);
  SendDlgItemMessageW(hwnd(), IDC_DISK_BUFFER, TBM_SETPOS, TRUE, TaskbriskGetDiskBuffer());
  SendDlgItemMessageW(hwnd(), IDC_MENU_DELAY, TBM_SETPOS, TRUE, TaskbriskGetMenuTime());
  bool autoEnd = TaskbriskGetAutoEndTasks() == 1;
  CheckDlgButton(hwnd(), IDC_AUTO_END_TASKS, autoEnd ? BST_CHECKED : BST_UNCHECKED);
  EnableFields(autoEnd);
  ShowField(kSpeed, TaskbriskGetSpeed());
  ShowField(kAuto, TaskbriskGetAuto());
}

void CTaskbriskStartDlg::OnSlider(HWND slider) {
  int id = GetDlgCtrlID(slider);
  if (id != IDC_DISK_BUFFER && id != IDC_MENU_DELAY) return;
  int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
  wchar_t text[contracts::kValueChars] = {};
  if (id == IDC_DISK_BUFFER) {
    TaskbriskGetDiskBufferString(position, text);
  } else {
    TaskbriskGetMenuTimeString(position, text);
  }
  text[contracts::kValueChars - 1] = L'\0';
  SetDlgItemTextW(hwnd(), id == IDC_DISK_BUFFER ? IDC_DISK_TEXT : IDC_MENU_TEXT, text);
}

void CTaskbriskStartDlg::EnableFields(bool enabled) {
  for (int id : {IDC_SPEED, IDC_SPEED_SPIN, IDC_AUTO, IDC_AUTO_SPIN}) EnableWindow(Item(id), enabled);
}

void CTaskbriskStartDlg::ShowField(const Field& field, int value) {
  value = value < field.low ? field.low : value > field.high ? field.high : value;
  (&field == &kSpeed ? lastSpeed_ : lastAuto_) = value;
  SendDlgItemMessageW(hwnd(), field.spin, UDM_SETPOS32, 0, value);
  SetDlgItemInt(hwnd(), field.edit, static_cast<UINT>(value), FALSE);
}

int CTaskbriskStartDlg::ReadField(const Field& field) {
  wchar_t text[32] = {};
  GetDlgItemTextW(hwnd(), field.edit, text, 32);
  long long value = &field == &kSpeed ? lastSpeed_ : lastAuto_;
  ParseNumber(text, &value);
  value = value < field.low ? field.low : value > field.high ? field.high : value;
  ShowField(field, static_cast<int>(value));
  return static_cast<int>(value);
}

void CTaskbriskStartDlg::OnOptimize() {
  // All or nothing: what the settings were is kept first, and written back at the first refusal.
  if (TaskbriskSaveSettings() != 1) {
    ReportOutcome(Outcome::kNotApplied);
    return;
  }
  int disk = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_DISK_BUFFER, TBM_GETPOS, 0, 0));
  int menu = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_MENU_DELAY, TBM_GETPOS, 0, 0));
  bool applied = TaskbriskSetDiskBuffer(disk) == 1 && TaskbriskSetMenuTime(menu) == 1 &&
                 TaskbriskSetAutoEndTasks(IsDlgButtonChecked(hwnd(), IDC_AUTO_END_TASKS) == BST_CHECKED ? 1 : 0) == 1;
  // Windows 2000 and XP read the two time-outs from the user's settings; later generations decide
  // them themselves, so there they are not written.
  bool classic = CheckWindowsVersion() == 5;
  if (IsWindowEnabled(Item(IDC_SPEED))) {
    int seconds = ReadField(kSpeed);
    if (applied && classic) applied = TaskbriskSetSpeed(seconds) == 1;
  }
  if (IsWindowEnabled(Item(IDC_AUTO))) {
    int seconds = ReadField(kAuto);
    if (applied && classic) applied = TaskbriskSetAuto(seconds) == 1;
  }
  if (applied) {
    ReportOutcome(Outcome::kApplied);
    return;
  }
  ReportOutcome(TaskbriskRestoreSettings() == 1 ? Outcome::kNotApplied : Outcome::kPartly);
}

bool CTaskbriskStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (COptimizerPage::OnMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_HSCROLL:
      if (!lParam) return false;
      OnSlider(reinterpret_cast<HWND>(lParam));
      result = 0;
      return true;
  }
  return false;
}

bool CTaskbriskStartDlg::OnClicked(int id) {
  return Clicked(*this, id,
                 {{IDC_OPTIMIZE, &CTaskbriskStartDlg::OnOptimize},
                  {IDC_AUTO_END_TASKS, &CTaskbriskStartDlg::OnAutoEndTasks}});
}

void CTaskbriskStartDlg::OnAutoEndTasks() {
  EnableFields(IsDlgButtonChecked(hwnd(), IDC_AUTO_END_TASKS) == BST_CHECKED);
}

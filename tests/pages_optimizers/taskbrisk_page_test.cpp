// The application optimizer page with the real Taskbrisk, under both Windows generations: the
// settings shown at start, the sliders' lines, the check box, and what Optimize writes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/optimizers/optimizer_page.h"
#include "pages/optimizers/resource.h"
#include "tests/pages_optimizers/optimizer_host.h"
#include "tests/support/registry_sandbox.h"

namespace {

const wchar_t kMemory[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

// The user's settings: a 16 MB buffer, menus after 200 ms, hung programs not ended, 7 s and 4 s.
class AppOptimizerPage : public optest::OptimizerPage {
 protected:
  void SetUp() override {
    memory_.SetDword(L"", L"IoPageLockLimit", 16 * 1024 * 1024);
    desktop_.SetString(L"", L"MenuShowDelay", L"200");
    desktop_.SetString(L"", L"AutoEndTasks", L"0");
    desktop_.SetString(L"", L"HungAppTimeout", L"7000");
    desktop_.SetString(L"", L"WaitToKillAppTimeout", L"4000");
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &menuDelay_, 0);
    ASSERT_NE(nullptr, Open(page_id::kAppOptimizer));
  }
  void TearDown() override {
    optest::OptimizerPage::TearDown();
    SystemParametersInfoW(SPI_SETMENUSHOWDELAY, menuDelay_, nullptr, 0);
  }

  int Position(int slider) { return static_cast<int>(SendDlgItemMessageW(page_, slider, TBM_GETPOS, 0, 0)); }
  void Slide(int slider, int position) {
    SendDlgItemMessageW(page_, slider, TBM_SETPOS, TRUE, position);
    SendMessageW(page_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(GetDlgItem(page_, slider)));
  }
  std::wstring Desktop(const wchar_t* name) { return test::ReadString(HKEY_CURRENT_USER, kDesktop, name); }
  void Optimize() {
    Click(IDC_OPTIMIZE);
    ASSERT_EQ(1u, boxes_->count());
    EXPECT_EQ(L"Optimization Completed!", BoxTexts()[0]);
  }
  bool Classic() const { return CheckWindowsVersion() == 5; }

  test::RegistrySandbox memory_{HKEY_LOCAL_MACHINE, kMemory};
  test::RegistrySandbox desktop_{HKEY_CURRENT_USER, kDesktop};
  UINT menuDelay_ = 400;
};

TEST_F(AppOptimizerPage, OpensWithTheSettingsAndNamesEachSliderPosition) {
  EXPECT_EQ(5, Position(IDC_DISK_BUFFER));
  EXPECT_EQ(5, Position(IDC_MENU_DELAY));
  EXPECT_EQ(L"Disk Input and Output Buffer Size", Text(IDC_DISK_TEXT));
  EXPECT_EQ(L"Menu Pop-up Speed", Text(IDC_MENU_TEXT));
  EXPECT_EQ(UINT(BST_UNCHECKED), IsDlgButtonChecked(page_, IDC_AUTO_END_TASKS));
  EXPECT_EQ(L"7", Text(IDC_SPEED));
  EXPECT_EQ(L"4", Text(IDC_AUTO));
  EXPECT_FALSE(Enabled(IDC_SPEED));
  EXPECT_FALSE(Enabled(IDC_AUTO));

  Slide(IDC_DISK_BUFFER, 7);
  EXPECT_EQ(L"Disk Input and Output Buffer Size: 32 MB", Text(IDC_DISK_TEXT));
  Slide(IDC_DISK_BUFFER, 0);
  EXPECT_EQ(L"Disk Input and Output Buffer Size: Windows default", Text(IDC_DISK_TEXT));
  Slide(IDC_MENU_DELAY, 1);
  EXPECT_EQ(L"Menu Pop-up Speed: 40 ms", Text(IDC_MENU_TEXT));

  Click(IDC_AUTO_END_TASKS);
  EXPECT_TRUE(Enabled(IDC_SPEED));
  EXPECT_TRUE(Enabled(IDC_AUTO));
  Click(IDC_AUTO_END_TASKS);
  EXPECT_FALSE(Enabled(IDC_SPEED));
  EXPECT_TRUE(boxes_->seen().empty()) << "nothing is applied before Optimize";
  EXPECT_EQ(L"200", Desktop(L"MenuShowDelay"));
}

TEST_F(AppOptimizerPage, OptimizeWritesTheTimeOutsOnlyOnTheWindowsXPGeneration) {
  Slide(IDC_DISK_BUFFER, 0);
  Slide(IDC_MENU_DELAY, 2);
  Click(IDC_AUTO_END_TASKS);
  SetDlgItemTextW(page_, IDC_SPEED, L"12");
  SetDlgItemTextW(page_, IDC_AUTO, L"45");  // beyond the field's range: its largest value, 10
  Optimize();
  EXPECT_FALSE(test::ValueExists(HKEY_LOCAL_MACHINE, kMemory, L"IoPageLockLimit"));
  EXPECT_EQ(L"80", Desktop(L"MenuShowDelay"));
  EXPECT_EQ(L"1", Desktop(L"AutoEndTasks"));
  EXPECT_EQ(L"10", Text(IDC_AUTO)) << "the value used is shown back";
  EXPECT_EQ(Classic() ? L"12000" : L"7000", Desktop(L"HungAppTimeout"));
  EXPECT_EQ(Classic() ? L"10000" : L"4000", Desktop(L"WaitToKillAppTimeout"));
}

TEST_F(AppOptimizerPage, ARefusedSettingChangesNothingAndIsToldSo) {
  test::DeleteKeyTree(HKEY_LOCAL_MACHINE, kMemory);  // the disk buffer, set first, cannot be written
  Slide(IDC_MENU_DELAY, 9);
  Click(IDC_AUTO_END_TASKS);
  Click(IDC_OPTIMIZE);
  ASSERT_EQ(1u, boxes_->count());
  EXPECT_EQ(optimizer_pages::kNotApplied, BoxTexts()[0]);
  EXPECT_EQ(L"200", Desktop(L"MenuShowDelay"));
  EXPECT_EQ(L"0", Desktop(L"AutoEndTasks"));
  EXPECT_EQ(L"7000", Desktop(L"HungAppTimeout"));
  EXPECT_TRUE(ClickMenuToHome());
}

TEST_F(AppOptimizerPage, WithTheBoxClearedTheFieldsAreNotAppliedOnAnyGeneration) {
  SetDlgItemTextW(page_, IDC_SPEED, L"20");
  SetDlgItemTextW(page_, IDC_AUTO, L"2");
  Optimize();
  EXPECT_EQ(L"0", Desktop(L"AutoEndTasks"));
  EXPECT_EQ(L"7000", Desktop(L"HungAppTimeout"));
  EXPECT_EQ(L"4000", Desktop(L"WaitToKillAppTimeout"));
  std::vector<BYTE> buffer = test::ReadRaw(HKEY_LOCAL_MACHINE, kMemory, L"IoPageLockLimit");
  ASSERT_EQ(4u, buffer.size());
  EXPECT_EQ(16u * 1024 * 1024, *reinterpret_cast<const DWORD*>(buffer.data()));
}

TEST_F(AppOptimizerPage, FieldsThatHoldNoNumberInRangeAreReadAsTheNearestValidValue) {
  Click(IDC_AUTO_END_TASKS);
  SetDlgItemTextW(page_, IDC_SPEED, L"-3");
  SetDlgItemTextW(page_, IDC_AUTO, L"");
  Optimize();
  EXPECT_EQ(L"1", Text(IDC_SPEED));
  EXPECT_EQ(L"4", Text(IDC_AUTO)) << "empty: the value shown before";
  EXPECT_EQ(Classic() ? L"1000" : L"7000", Desktop(L"HungAppTimeout"));
  EXPECT_EQ(L"4000", Desktop(L"WaitToKillAppTimeout"));
}

}  // namespace

// What the optimizer page tests share: the real main window (without its splash) in the staged
// program folder, showing one page, and message boxes answered and recorded.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_dlg.h"
#include "tests/support/message_box_watcher.h"

namespace optest {

class HostWindow : public CMainDlg {
 public:
  explicit HostWindow(PageTable table) : CMainDlg(table) {}

 protected:
  void RunSplash() override {}
  void OpenUrl(const wchar_t*) override {}
  void ShowAbout() override {}
};

class OptimizerPage : public testing::Test {
 protected:
  void TearDown() override;

  // Creates the main window and shows the page of the command; the page object, or null.
  ui::Page* Open(UINT pageCommand);
  void Click(int id);
  std::wstring Text(int id) const;
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(page_, id)) != FALSE; }
  bool MenuLocked() { return main_->Menu().IsLocked(); }
  // Presses and releases the mouse on the menu's first header, which shows the home page, as a
  // user would; true when the home page is shown then.
  bool ClickMenuToHome();
  // The texts of the boxes answered so far.
  std::vector<std::wstring> BoxTexts() const;

  std::unique_ptr<test::MessageBoxWatcher> boxes_ = std::make_unique<test::MessageBoxWatcher>(IDOK);
  std::unique_ptr<HostWindow> main_;
  PageTable table_ = DefaultPageTable();  // a test may put a page of its own in a slot
  HWND page_ = nullptr;

 private:
  wchar_t previous_[MAX_PATH] = {};
};

}  // namespace optest

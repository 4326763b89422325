// What the backup page tests share: the real main window (without its splash) showing a backup page
// made with the program's skin, after which a scratch program folder becomes the current directory,
// so the backups land there; message boxes answered and recorded; clicks as a user makes them.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/program_folder.h"

namespace backup_test {

class HostWindow : public CMainDlg {
 protected:
  void RunSplash() override {}
  void OpenUrl(const wchar_t*) override {}
  void ShowAbout() override {}
};

class BackupHost : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows a page (made in the program's folder, so it has its skin), then makes a scratch program
  // folder the current directory.
  template <typename Page>
  Page* Open(UINT id) {
    SendMessageW(main(), id, 0, 0);
    auto* page = dynamic_cast<Page*>(main_->PageOf(id));
    EXPECT_TRUE(page && IsWindowVisible(page->hwnd()));
    program_ = std::make_unique<test::ProgramFolder>();
    return page;
  }
  HWND main() const { return main_->hwnd(); }
  bool MenuLocked() { return main_->Menu().IsLocked(); }
  static void Click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }
  // The texts of the message boxes seen so far, in order.
  std::vector<std::wstring> BoxTexts() const;

  std::unique_ptr<test::MessageBoxWatcher> boxes_;
  std::unique_ptr<test::ProgramFolder> program_;

 private:
  wchar_t previous_[MAX_PATH] = {};
  std::unique_ptr<HostWindow> main_;
};

}  // namespace backup_test

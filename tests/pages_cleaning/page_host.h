// The real main window for the cleaner pages' tests: the program's resources and skin, the
// cleaner pages from the program's page table and plain pages everywhere else, no splash (pages
// are made on first use), and links that open nothing. Plus what the tests do as a user would.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "pages/cleaning/litterbin_start_dlg.h"
#include "pages/cleaning/tracewipe_start_dlg.h"
#include "tests/support/registry_sandbox.h"

namespace pages_test {

class TestMainDlg : public CMainDlg {
 public:
  explicit TestMainDlg(PageTable table) : CMainDlg(table) {}

 protected:
  void OpenUrl(const wchar_t*) override {}
  void ShowAbout() override {}
  void RunSplash() override {}
};

// The program's table with the two cleaner pages kept and every other slot a plain page.
class CleanerTable {
 public:
  CleanerTable();
  PageTable table() const { return PageTable{slots_.data(), slots_.size()}; }

 private:
  std::vector<PageSlot> slots_;
};

class CleanerPages : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window and shows a page.
  void Start();
  void Show(UINT page);
  CTracewipeStartDlg* Trace();
  CLitterbinStartDlg* Junk();
  bool MenuLocked();

  // A click on a button of a page (BM_CLICK, as the mouse makes it).
  static void Click(HWND dialog, int id);
  // A press of the left button at a point of a window's client area.
  static void Press(HWND window, int x, int y);
  static bool Visible(HWND dialog, int id);
  // Waits, handling messages, until the result page of a start page shows the finished state.
  static bool WaitFinished(cleaning_pages::CCleaningStartDlg* page, DWORD timeoutMs = 60000);
  // The rows of a result list as "name|path|size" texts, and the checked ones among them.
  static std::vector<std::wstring> Rows(cleaning_pages::CCleaningResultsDlg* results);
  // Leaves checked only the rows whose name is one of names.
  static void CheckOnly(cleaning_pages::CCleaningResultsDlg* results, const std::vector<std::wstring>& names);

  std::unique_ptr<TestMainDlg> main_;

 private:
  wchar_t previous_[MAX_PATH] = {};
  CleanerTable table_;
  // The last-scan values the pages write.
  test::RegistrySandbox evidence_{HKEY_CURRENT_USER, L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Evidence Cleaner"};
  test::RegistrySandbox junk_{HKEY_CURRENT_USER, L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Junk File Cleaner"};
};

// Sends a report to a window from this thread, as an engine would from its worker.
LRESULT SendReport(HWND window, ULONG_PTR kind, const std::wstring& text);

}  // namespace pages_test

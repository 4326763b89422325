// What the registry cleaner's page tests share: the real main window (without its splash) showing
// the real page in a scratch program folder that holds a copy of the skin, so the engine's undo files
// land there; broken registry entries to find; a look at the reports reaching the page; and message
// boxes answered after a delay, for what must hold while a question is open.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "pages/home_registry/hivescrub_start_dlg.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/program_folder.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace regtest {

// Copies a folder with everything below it; false when anything could not be copied.
bool CopyTree(const std::wstring& from, const std::wstring& to);
// The first visible top-level window of a process that matches, or null.
HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& match);

// The main window as the program shows it, minus the splash and anything a link would open.
class HostWindow : public CMainDlg {
 protected:
  void RunSplash() override {}
  void OpenUrl(const wchar_t*) override {}
  void ShowAbout() override {}
};

class RegistryCleaner : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CHivescrubStartDlg& page() { return *page_; }
  HWND main() const { return main_->hwnd(); }
  bool MenuLocked() { return main_->Menu().IsLocked(); }
  bool Visible(HWND window) const { return window && IsWindowVisible(window); }

  // A click on a control of the start page (check box, Start Scan).
  void Click(int id);
  void SelectOnly(std::initializer_list<int> categories);
  // Start Scan, then wait for the scan to have started.
  void StartScan();
  // Waits for the results page of the scan under way.
  bool WaitForResults(DWORD timeoutMs = 120000);
  std::vector<std::wstring> Rows();

  test::ProgramFolder program_;
  std::unique_ptr<test::RegistrySandbox> bookkeeping_;
  // Answers every box with OK unless a test says otherwise; a test that holds a box open itself
  // lets it go first.
  std::unique_ptr<test::MessageBoxWatcher> boxes_;
  std::unique_ptr<HostWindow> main_;
  CHivescrubStartDlg* page_ = nullptr;
};

// COM classes under HKEY_CURRENT_USER\Software\Classes\CLSID whose server file is missing: one
// problem of category 1 each. The classes' key is sandboxed.
class BrokenClasses {
 public:
  explicit BrokenClasses(int count);
  int count() const { return count_; }
  // The key of class i below the root, and as the engine titles it.
  std::wstring Path(int i) const;
  std::wstring Title(int i) const { return L"HKEY_CURRENT_USER\\" + Path(i); }
  bool Exists(int i) const;

 private:
  int count_;
  test::ScratchFolder files_;
  test::RegistrySandbox sandbox_;
};

// Records the reports (WM_COPYDATA) that reach a window and what it answered, by standing in front
// of its window procedure for the spy's lifetime.
class ReportSpy {
 public:
  struct Seen {
    ULONG_PTR kind;
    LRESULT reply;
  };
  explicit ReportSpy(HWND window);
  ~ReportSpy();
  ReportSpy(const ReportSpy&) = delete;
  ReportSpy& operator=(const ReportSpy&) = delete;

  const std::vector<Seen>& seen() const { return seen_; }
  // The category numbers of the "category begun" reports, in order.
  std::vector<int> CategoriesBegun() const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_;
  WNDPROC previous_;
  std::vector<Seen> seen_;
};

// Answers the next message box of this process with a button after holding it open for a while,
// calling `whileOpen` from its own thread just before pressing.
class DelayedAnswer {
 public:
  DelayedAnswer(int button, DWORD holdMs, std::function<void()> whileOpen = nullptr);
  ~DelayedAnswer();
  DelayedAnswer(const DelayedAnswer&) = delete;
  DelayedAnswer& operator=(const DelayedAnswer&) = delete;

  // Waits (pumping this thread's messages) until the thread has answered or given up.
  void Wait();
  bool answered() const;
  std::wstring text() const;

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  int button_;
  DWORD holdMs_;
  std::function<void()> whileOpen_;
  mutable std::mutex mutex_;
  bool answered_ = false;
  std::wstring text_;
  HANDLE thread_ = nullptr;
};

}  // namespace regtest

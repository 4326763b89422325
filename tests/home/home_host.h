// What the home page tests share: the real main window (without its splash) showing the real home
// page in a scratch program folder with a copy of the skin and the unsafe-control list, the home
// page's values and the engines' bookkeeping sandboxed, and one seeded problem for each group of
// the one-click scan.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pages/home_registry/home_start_dlg.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace hometest {

constexpr wchar_t kSettings[] = L"Software\\Lumaspan Software\\KeepLumaspan";
constexpr wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr wchar_t kCompatibility[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";

class HomePage : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CHomeStartDlg& page() { return *page_; }
  HWND main() const { return main_->hwnd(); }
  bool MenuLocked() { return main_->Menu().IsLocked(); }
  // Start Scan, then wait for the scan page.
  void StartScan();
  // Waits for the results of the scan under way.
  bool WaitForResults(DWORD timeoutMs = 240000);
  void ClickScanPage(int id);
  std::vector<std::wstring> Column(int group, int column);
  std::vector<std::wstring> Summary();
  std::wstring Setting(const wchar_t* name) { return test::ReadString(HKEY_CURRENT_USER, kSettings, name); }

  test::ProgramFolder program_;
  std::vector<std::unique_ptr<test::RegistrySandbox>> sandboxes_;
  std::unique_ptr<test::MessageBoxWatcher> boxes_;
  std::unique_ptr<regtest::HostWindow> main_;
  CHomeStartDlg* page_ = nullptr;
};

// One problem for each group: a COM class whose server is gone, a junk file on T:, a Run history
// value, ".txt" opened by another program, a changed start page, and a control from the shipped
// list registered without its kill bit. Their keys are sandboxed.
class SeededProblems {
 public:
  SeededProblems();
  std::wstring junkFile() const { return junk_; }
  const std::wstring& control() const { return control_; }
  const std::wstring& controlName() const { return controlName_; }

 private:
  void Sandbox(HKEY root, const std::wstring& path);
  std::vector<std::unique_ptr<test::RegistrySandbox>> sandboxes_;
  regtest::BrokenClasses classes_{1};
  test::ExtraDrive drive_{L'T'};
  std::wstring junk_, control_, controlName_;
};

}  // namespace hometest

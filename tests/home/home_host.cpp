#include "tests/home/home_host.h"

#include <commctrl.h>

#include "app/main_dlg.h"
#include "contracts/messages.h"
#include "pages/home_registry/home_resource.h"
#include "pages/home_registry/one_click.h"
#include "tests/support/pump.h"

namespace hometest {

void HomePage::SetUp() {
  ASSERT_TRUE(regtest::CopyTree(L"C:\\Lumaspan\\Res", program_ / L"Res"));
  ASSERT_TRUE(regtest::CopyTree(L"C:\\Lumaspan\\Data", program_ / L"Data"));
  // The home page's values with the engines' bookkeeping below them.
  sandboxes_.push_back(std::make_unique<test::RegistrySandbox>(HKEY_CURRENT_USER, kSettings));
  boxes_ = std::make_unique<test::MessageBoxWatcher>(IDOK);
  main_ = std::make_unique<regtest::HostWindow>();
  ASSERT_TRUE(main_->Create(nullptr));
  ASSERT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000));
  page_ = dynamic_cast<CHomeStartDlg*>(main_->PageOf(page_id::kHome));
  ASSERT_NE(nullptr, page_);
  page_->SetItemPause(0);
  test::PumpFor(30);
}

void HomePage::TearDown() {
  main_.reset();
  boxes_.reset();
  while (!sandboxes_.empty()) sandboxes_.pop_back();
}

void HomePage::StartScan() {
  SendMessageW(GetDlgItem(page_->hwnd(), IDC_HOME_START_SCAN), BM_CLICK, 0, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return page_->scanPage() != nullptr; }, 5000));
}

bool HomePage::WaitForResults(DWORD timeoutMs) {
  return test::PumpUntil(
      [&] { return page_->scanPage() && IsWindowVisible(GetDlgItem(page_->scanPage()->hwnd(), IDC_HOME_REPAIR_ALL)); },
      timeoutMs);
}

void HomePage::ClickScanPage(int id) { SendMessageW(GetDlgItem(page_->scanPage()->hwnd(), id), BM_CLICK, 0, 0); }

std::vector<std::wstring> HomePage::Column(int group, int column) {
  std::vector<std::wstring> texts;
  CHomeListView& list = page_->scanPage()->list(group);
  for (int row = 0; row < list.RowCount(); ++row) texts.push_back(list.Text(row, column));
  return texts;
}

std::vector<std::wstring> HomePage::Summary() {
  std::vector<std::wstring> lines;
  HWND box = page_->scanPage()->summary();
  int count = static_cast<int>(SendMessageW(box, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[260] = {};
    if (SendMessageW(box, LB_GETTEXTLEN, i, 0) < 260) SendMessageW(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}

void SeededProblems::Sandbox(HKEY root, const std::wstring& path) {
  sandboxes_.push_back(std::make_unique<test::RegistrySandbox>(root, path));
}

SeededProblems::SeededProblems() {
  junk_ = drive_.Write(L"home-test\\left-over.tmp", "abc");

  Sandbox(HKEY_CURRENT_USER, kRunMru);
  sandboxes_.back()->SetString(L"", L"a", L"notepad\\1");

  // Every file type and browser setting the scan compares, so that only the seeded ones differ
  // and the repairs write nothing outside the sandboxes.
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (const wchar_t* extension : one_click::kExtensions) Sandbox(root, std::wstring(L"Software\\Classes\\") + extension);
    Sandbox(root, L"Software\\Classes\\LumaspanTest.txtfile");
    Sandbox(root, L"Software\\Microsoft\\Internet Explorer");
  }
  Sandbox(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\Microsoft\\Internet Explorer");
  // In the order made: RunMRU, then per root the sixteen types, the test's type and the browser.
  const size_t machineTxt = 1, machineType = 1 + one_click::kExtensionCount;
  const size_t userBrowser = 2 * (one_click::kExtensionCount + 2);
  sandboxes_[machineTxt]->SetString(L"", nullptr, L"LumaspanTest.txtfile");
  sandboxes_[machineType]->SetString(L"shell\\open\\command", nullptr, L"C:\\elsewhere\\reader.exe %1");
  sandboxes_[userBrowser]->SetString(L"Main", L"Start Page", L"http://start.invalid/");

  std::vector<one_click::Control> list = one_click::ReadControlList(L"Data\\ActiveX.dat");
  if (list.empty()) {
    ADD_FAILURE() << "no control list";
    return;
  }
  control_ = list.front().clsid;
  controlName_ = list.front().name;
  Sandbox(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\" + control_);
  sandboxes_.back()->SetString(L"", nullptr, controlName_);

  // The other types open with programs of their own choosing that exist (no problem), the repair
  // of ".txt" writes the class Windows ships for it, and no shipped class is touched outside.
  static const wchar_t* const kShippedClasses[] = {L"txtfile", L"exefile", L"comfile", L"piffile", L"regfile",
                                                   L"batfile", L"scrfile", L"chm.file", L"hlpfile", L"inifile",
                                                   L"inffile", L"VBSFile", L"lnkfile", L"JSFile",  L"cmdfile",
                                                   L"SHCmdFile"};
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    for (const wchar_t* name : kShippedClasses) Sandbox(root, std::wstring(L"Software\\Classes\\") + name);
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  Sandbox(HKEY_LOCAL_MACHINE, L"Software\\Classes\\LumaspanTest.chosen");
  sandboxes_.back()->SetString(L"shell\\open\\command", nullptr, L"\"" + std::wstring(system) + L"\\notepad.exe\" \"%1\"");
  Sandbox(HKEY_LOCAL_MACHINE, L"Software\\Classes\\LumaspanTest.shortcut");
  sandboxes_.back()->SetString(L"CLSID", nullptr, L"{00021401-0000-0000-C000-000000000046}");
  for (int i = 1; i < one_click::kExtensionCount; ++i) {
    bool shortcut = std::wstring(one_click::kExtensions[i]) == L".lnk";
    sandboxes_[machineTxt + i]->SetString(L"", nullptr, shortcut ? L"LumaspanTest.shortcut" : L"LumaspanTest.chosen");
  }
}

}  // namespace hometest

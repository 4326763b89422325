// The home page and the one-click scan with the real engines, in the real main window: one seeded
// problem per group is listed on its tab and repaired by Repair All; an abort during the Evidence
// group ends the scan with the groups after it cancelled.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/handles.h"
#include "contracts/ctrlguard.h"
#include "contracts/typemend.h"
#include "contracts/webmend.h"
#include "pages/home_registry/home_resource.h"
#include "tests/cleaning/seeded.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/home/home_host.h"
#include "tests/support/pump.h"

namespace {

using namespace one_click;
using hometest::HomePage;

bool Has(const std::vector<std::wstring>& texts, const std::wstring& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(HomePage, StartViewAsksForAScanUntilOneWasMade) {
  EXPECT_EQ(L"System Status is: Unknown", page().StatusBlock().front().text);
  EXPECT_EQ(CHomeStartDlg::kStartView, page().viewState());
  EXPECT_FALSE(page().fixedDrives().empty());
  EXPECT_EQ(L"C:\\", page().fixedDrives().front());
}

TEST_F(HomePage, EachSeededProblemIsListedOnItsTabAndRepairAllFixesThemAll) {
  hometest::SeededProblems seeded;
  StartScan();
  EXPECT_TRUE(MenuLocked());
  EXPECT_TRUE(page().scanPage()->tabsLocked());
  EXPECT_FALSE(IsWindowVisible(page().hwnd()));
  ASSERT_TRUE(WaitForResults());
  CHomeScanDlg& scan = *page().scanPage();

  EXPECT_FALSE(MenuLocked());
  EXPECT_FALSE(scan.tabsLocked());
  EXPECT_EQ(100, scan.groupBar());
  EXPECT_EQ(100, scan.wholeBar());
  EXPECT_EQ(kOverall, scan.shownGroup());
  for (int g = kRegistry; g <= kActiveX; ++g) {
    EXPECT_TRUE(scan.tally().begun[g]) << g;
    EXPECT_EQ(static_cast<size_t>(scan.list(g).RowCount()), page().found(g).size()) << g;
    EXPECT_EQ(scan.tally().found[g], scan.list(g).RowCount()) << g;
  }
  std::vector<std::wstring> registry = Column(kRegistry, 0);
  EXPECT_TRUE(std::any_of(registry.begin(), registry.end(), [](const std::wstring& title) {
    return title.find(L"{4C554D41-0000-4000-8000-000000000000}") != std::wstring::npos;
  }));
  EXPECT_TRUE(Has(Column(kJunk, 0), L"left-over.tmp"));
  EXPECT_TRUE(Has(Column(kJunk, 1), L"T:\\home-test\\"));
  EXPECT_TRUE(Has(Column(kEvidence, 0), L"a"));
  EXPECT_TRUE(Has(Column(kFileAssoc, 0), L".txt"));
  EXPECT_TRUE(Has(Column(kFileAssoc, 1), L"C:\\elsewhere\\reader.exe %1"));
  EXPECT_TRUE(Has(Column(kBrowser, 0), L"Start Page"));
  EXPECT_TRUE(Has(Column(kBrowser, 1), L"http://start.invalid/"));
  // A control shows its name under "Item" and its class identifier under "CLSID".
  EXPECT_TRUE(Has(Column(kActiveX, 0), seeded.controlName()));
  EXPECT_TRUE(Has(Column(kActiveX, 1), seeded.control()));
  EXPECT_TRUE(Has(Column(kActiveX, 2), L"UnLocked"));
  EXPECT_EQ(std::to_wstring(HealthScore(scan.tally())), Setting(L"SystemStatus"));
  EXPECT_EQ(L"0", Setting(L"SystemStatus"));  // every group found something
  std::vector<std::wstring> summary = Summary();
  ASSERT_EQ(6u, summary.size());
  EXPECT_EQ(std::to_wstring(scan.tally().found[kJunk]) + L" Junk File found on your system.", summary[1]);

  // After the scan a tab click shows its list.
  NMHDR change = {};
  SendMessageW(GetDlgItem(scan.hwnd(), IDC_HOME_TABS), TCM_SETCURSEL, kBrowser, 0);
  change.hwndFrom = GetDlgItem(scan.hwnd(), IDC_HOME_TABS);
  change.idFrom = IDC_HOME_TABS;
  change.code = TCN_SELCHANGE;
  SendMessageW(scan.hwnd(), WM_NOTIFY, IDC_HOME_TABS, reinterpret_cast<LPARAM>(&change));
  EXPECT_TRUE(IsWindowVisible(scan.list(kBrowser).hwnd()));
  EXPECT_FALSE(IsWindowVisible(scan.list(kJunk).hwnd()));

  EXPECT_EQ(1u, page().found(kFileAssoc).size()) << "types opened by another program that exists are no problem";
  // Every key the association, browser and control repairs change, as they are before.
  const std::vector<std::wstring> changed = {
      L"HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt", L"HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile",
      L"HKEY_LOCAL_MACHINE\\Software\\Classes\\LumaspanTest.txtfile",
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main",
      L"HKEY_LOCAL_MACHINE\\" + std::wstring(hometest::kCompatibility) + seeded.control(),
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\" +
          seeded.control()};
  std::vector<std::vector<char>> before;
  for (const std::wstring& key : changed) before.push_back(hstest::ExportKey(key));

  size_t total = 0;
  for (int g = kRegistry; g <= kActiveX; ++g) total += page().found(g).size();
  ClickScanPage(IDC_HOME_REPAIR_ALL);
  ASSERT_TRUE(test::PumpUntil([&] { return page().scanPage() == nullptr; }, 60000));
  EXPECT_EQ(L"Are you sure to repair the item?", boxes_->seen().front().text);
  EXPECT_EQ(1u, boxes_->count()) << "nothing was left unrepaired";
  EXPECT_TRUE(IsWindowVisible(page().hwnd()));

  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID\\{4C554D41-0000-4000-8000-000000000000}"));
  EXPECT_FALSE(test::FileExists(seeded.junkFile()));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, hometest::kRunMru, L"a"));
  EXPECT_EQ(1, TypemendCompare(L".txt"));
  EXPECT_EQ(1, WebmendCompare(L"Start Page"));
  EXPECT_EQ(1, CtrlguardStatus(seeded.control().c_str()));
  EXPECT_EQ(L"1000", Setting(L"SystemStatus"));
  EXPECT_EQ(L"0", Setting(L"ErrorNumber"));
  EXPECT_EQ(std::to_wstring(total), Setting(L"CleanNumber"));
  std::vector<one_click::StatusText> block = page().StatusBlock();
  ASSERT_EQ(6u, block.size());
  EXPECT_EQ(L"Excellent", block[3].text);
  EXPECT_EQ(L"Your PC status is perfect. We suggest that you optimize your PC weekly ", block[4].text);

  // One undo file for the run's association, browser and control changes gives them all back.
  std::vector<std::wstring> undo = hstest::RegFiles(program_ / L"Backup\\Repairs");
  ASSERT_EQ(1u, undo.size());
  ASSERT_TRUE(hstest::ImportFile(undo[0]));
  for (size_t i = 0; i < changed.size(); ++i)
    EXPECT_TRUE(hstest::ExportKey(changed[i]) == before[i]) << testing::PrintToString(changed[i]);
  EXPECT_EQ(0, CtrlguardStatus(seeded.control().c_str()));
}

// A scan pauses after its first junk files and traces only: past the limit nothing waits, and
// every file is still listed.
TEST_F(HomePage, OnlyTheFirstJunkFilesAndTracesOfAScanArePaused) {
  hometest::SeededProblems seeded;
  const int more = static_cast<int>(CHomeStartDlg::kPausedItems) + 50;
  for (int i = 0; i < more; ++i) {
    std::wstring path = L"T:\\home-test\\more" + std::to_wstring(i) + L".tmp";
    ASSERT_TRUE(base::UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
  }
  page().SetItemPause(1);
  StartScan();
  ASSERT_TRUE(WaitForResults());
  EXPECT_EQ(more + 1, page().scanPage()->list(kJunk).RowCount());
  EXPECT_EQ(CHomeStartDlg::kPausedItems, page().PausesTaken());
}

TEST_F(HomePage, AnAbortDuringTheEvidenceGroupCancelsTheGroupsAfterIt) {
  // Enough history that the Evidence group lasts while it is aborted.
  test::RegistrySandbox run(HKEY_CURRENT_USER, hometest::kRunMru);
  for (int i = 0; i < 400; ++i) run.SetString(L"", (L"v" + std::to_wstring(i)).c_str(), L"notepad\\1");
  page().SetItemPause(CHomeStartDlg::kItemPauseMs);
  boxes_.reset();
  StartScan();
  CHomeScanDlg& scan = *page().scanPage();
  ASSERT_TRUE(test::PumpUntil([&] { return scan.tally().found[kEvidence] >= 20; }, 240000));
  EXPECT_EQ(kEvidence, scan.shownGroup());
  {
    regtest::DelayedAnswer ok(IDOK, 50);
    ClickScanPage(IDC_HOME_ABORT);
    ok.Wait();
    EXPECT_EQ(L"Are you sure to stop scanning?", ok.text());
  }
  ASSERT_TRUE(WaitForResults(5000));
  EXPECT_FALSE(MenuLocked());
  int kept = scan.list(kEvidence).RowCount();
  test::PumpFor(300);
  EXPECT_EQ(kept, scan.list(kEvidence).RowCount()) << "nothing is taken after the abort";

  std::vector<std::wstring> summary = Summary();
  ASSERT_EQ(6u, summary.size());
  EXPECT_EQ(OverallLine(kRegistry, true, scan.tally().found[kRegistry], true).text, summary[0]);
  EXPECT_EQ(OverallLine(kJunk, true, scan.tally().found[kJunk], true).text, summary[1]);
  EXPECT_EQ(std::to_wstring(kept) + L" Evidence files found on your system.", summary[2]);
  EXPECT_EQ(L"User Cancel Scan File Assoc problems!", summary[3]);
  EXPECT_EQ(L"User Cancel Scan Internet Explorer problems!", summary[4]);
  EXPECT_EQ(L"User Cancel Scan Bad ActiveX!", summary[5]);
  int score = 100 - 10 - 10 - 20 - 20 - (scan.tally().found[kRegistry] ? 30 : 0) - (scan.tally().found[kJunk] ? 10 : 0);
  EXPECT_EQ(std::to_wstring(score), Setting(L"SystemStatus"));
  EXPECT_EQ(CHomeStartDlg::kScanningView, page().viewState());

  // Back: the start view again, scored.
  ClickScanPage(IDC_HOME_BACK);
  ASSERT_TRUE(test::PumpUntil([&] { return page().scanPage() == nullptr; }, 5000));
  EXPECT_EQ(CHomeStartDlg::kStartView, page().viewState());
  EXPECT_TRUE(IsWindowVisible(page().hwnd()));
  EXPECT_EQ(L"Last PC's Health:", page().StatusBlock().front().text);
}

TEST_F(HomePage, WhatCouldNotBeRepairedStaysCountedAndTheUserIsTold) {
  test::ExtraDrive drive(L'T');
  std::wstring held = drive.Write(L"home-test\\held.tmp", "held");
  std::wstring loose = drive.Write(L"home-test\\loose.tmp", "loose");
  std::wstring vanishing = drive.Write(L"home-test\\vanishing.tmp", "vanishing");
  cleaning_test::HeldFile hold(held);
  ASSERT_TRUE(hold.holding());
  for (int g : {kFileAssoc, kBrowser, kActiveX}) CheckDlgButton(page().hwnd(), CHomeStartDlg::kGroupIds[g], BST_UNCHECKED);
  StartScan();
  ASSERT_TRUE(WaitForResults());
  ASSERT_EQ(3, page().scanPage()->tally().found[kJunk]);
  ASSERT_EQ(0, page().scanPage()->tally().found[kEvidence]);
  EXPECT_EQ(L"FileAssoc Repair No Scan This time!", Summary()[3]);
  ASSERT_TRUE(DeleteFileW(vanishing.c_str()));  // gone before Repair All: nothing left to repair

  ClickScanPage(IDC_HOME_REPAIR_ALL);
  ASSERT_TRUE(boxes_->WaitForCount(2, 30000));
  EXPECT_EQ(L"1 of the 3 problems found could not be repaired.", boxes_->seen()[1].text);
  EXPECT_TRUE(test::FileExists(held));
  EXPECT_FALSE(test::FileExists(loose));
  EXPECT_EQ(L"1", Setting(L"ErrorNumber"));
  EXPECT_EQ(L"2", Setting(L"CleanNumber"));
  // The junk group still has a problem; the three groups not scanned are not known to be clean.
  EXPECT_EQ(std::to_wstring(100 - 10 - 10 - 10 - 20 - (page().found(kRegistry).empty() ? 0 : 30)),
            Setting(L"SystemStatus"));
}

// Without a place for the undo file the association, browser and control changes are not made,
// and they count as not repaired.
TEST_F(HomePage, ChangesWhoseUndoCannotBeWrittenAreNotMadeAndCountAsNotRepaired) {
  hometest::SeededProblems seeded;
  ASSERT_TRUE(test::WriteFile(program_ / L"Backup\\Repairs", "a file where the undo folder would be"));
  for (int g : {kRegistry, kJunk, kEvidence}) CheckDlgButton(page().hwnd(), CHomeStartDlg::kGroupIds[g], BST_UNCHECKED);
  StartScan();
  ASSERT_TRUE(WaitForResults());
  // The seeded type and start page, and every listed control (the sandbox took the kill bits).
  ASSERT_EQ(1u, page().found(kFileAssoc).size());
  ASSERT_EQ(1u, page().found(kBrowser).size());
  const std::wstring total = std::to_wstring(2 + page().found(kActiveX).size());
  ClickScanPage(IDC_HOME_REPAIR_ALL);
  ASSERT_TRUE(boxes_->WaitForCount(2, 60000));
  EXPECT_EQ(total + L" of the " + total + L" problems found could not be repaired.", boxes_->seen()[1].text);
  EXPECT_EQ(L"LumaspanTest.txtfile", test::ReadString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.txt", nullptr));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\txtfile"));
  EXPECT_EQ(L"http://start.invalid/",
            test::ReadString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page"));
  EXPECT_EQ(0, CtrlguardStatus(seeded.control().c_str()));
  EXPECT_EQ(total, Setting(L"ErrorNumber"));
}

TEST_F(HomePage, ClosingTheMainWindowMidScanEndsTheWorkerCleanly) {
  StartScan();
  ASSERT_TRUE(test::PumpUntil([&] { return page().scanPage()->tally().begun[kRegistry]; }, 10000));
  main_.reset();  // the page goes with its window; the worker's next report fails and it ends
  SUCCEED();
}

}  // namespace


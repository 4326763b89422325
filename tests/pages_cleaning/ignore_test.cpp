// "Ignore this item" on the junk and trace result pages with the real engines: what is ignored
// leaves the list at once, is not listed by the next scan, is not removed by a clean of everything
// listed, and comes back once its exclusion is removed; a folder hides everything below it; a drive
// root is refused with a message.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/exclusions.h"
#include "contracts/messages.h"
#include "pages/cleaning/cleaning_ids.h"
#include "pages/cleaning/found_items.h"
#include "tests/pages_cleaning/page_host.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pump.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using cleaning_pages::IgnoreChoice;
using pages_test::CleanerPages;

const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

class IgnoredItems : public CleanerPages {
 protected:
  // Runs a scan on the page shown and returns its finished result page.
  cleaning_pages::CCleaningResultsDlg* Scan(cleaning_pages::CCleaningStartDlg* page) {
    Click(page->hwnd(), IDC_START_SCAN);
    EXPECT_TRUE(WaitFinished(page));
    return page->ResultPage();
  }
  static int RowOf(cleaning_pages::CCleaningResultsDlg* results, const std::wstring& name) {
    for (int i = 0; i < results->List().RowCount(); ++i)
      if (results->List().Text(i, 0) == name) return i;
    return -1;
  }
  static std::vector<std::wstring> Names(cleaning_pages::CCleaningResultsDlg* results) {
    std::vector<std::wstring> names;
    for (int i = 0; i < results->List().RowCount(); ++i) names.push_back(results->List().Text(i, 0));
    std::sort(names.begin(), names.end());
    return names;
  }
  // Back to the start view, as the Back button does.
  void Back(cleaning_pages::CCleaningStartDlg* page) {
    Click(page->ResultPage()->hwnd(), IDC_BACK);
    ASSERT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));
  }

  test::RegistrySandbox exclusions_{HKEY_CURRENT_USER, base::kExclusionsKey};
};

TEST_F(IgnoredItems, JunkPageIgnoredFilesAndFoldersStayOutOfScansAndCleansUntilRemoved) {
  test::ExtraDrive t(L'T');
  t.Write(L"keep.old", "12");
  t.Write(L"deep\\a.tmp", "1");
  t.Write(L"deep\\sub\\b.tmp", "1");
  t.Write(L"gone.tmp", "123");
  Start();
  Show(page_id::kJunkCleaner);
  CLitterbinStartDlg* page = Junk();
  ASSERT_TRUE(page);
  page->SetItemPause(1);
  for (int i = 0; i < page->DriveList().RowCount(); ++i)
    page->DriveList().SetChecked(i, page->DriveList().Text(i, 0) == L"T:\\");

  cleaning_pages::CCleaningResultsDlg* results = Scan(page);
  ASSERT_TRUE(results);
  ASSERT_EQ((std::vector<std::wstring>{L"a.tmp", L"b.tmp", L"gone.tmp", L"keep.old"}), Names(results));
  test::MessageBoxWatcher boxes;
  // A file at the drive's root offers its folder too: the drive itself is refused, the row stays.
  EXPECT_FALSE(results->IgnoreRow(RowOf(results, L"keep.old"), IgnoreChoice::kFolder));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::wstring::npos, boxes.seen()[0].text.find(L"A whole drive cannot be excluded"));
  EXPECT_TRUE(results->IgnoreRow(RowOf(results, L"keep.old"), IgnoreChoice::kItem));
  EXPECT_TRUE(results->IgnoreRow(RowOf(results, L"a.tmp"), IgnoreChoice::kFolder));  // T:\deep, b.tmp too
  EXPECT_EQ((std::vector<std::wstring>{L"gone.tmp"}), Names(results));
  EXPECT_EQ(L"All total of 1 Junk Files that take up " + cleaning_pages::SizeText(3), results->CounterLine());

  // The clean takes every row left: the ignored files stay.
  Click(results->hwnd(), IDC_CLEAN);
  EXPECT_EQ(L"Remove Completed.", boxes.seen().back().text);
  EXPECT_FALSE(test::FileExists(L"T:\\gone.tmp"));
  EXPECT_TRUE(test::FileExists(L"T:\\keep.old"));
  EXPECT_TRUE(test::FileExists(L"T:\\deep\\sub\\b.tmp"));
  ASSERT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));

  results = Scan(page);
  ASSERT_TRUE(results);
  EXPECT_TRUE(Names(results).empty());
  EXPECT_TRUE(page->FoundItems().empty());
  Back(page);

  ASSERT_TRUE(base::RemoveExclusion(L"T:\\deep"));
  results = Scan(page);
  ASSERT_TRUE(results);
  EXPECT_EQ((std::vector<std::wstring>{L"a.tmp", L"b.tmp"}), Names(results));
}

TEST_F(IgnoredItems, TracePageAnIgnoredRegistryTraceStaysOutOfTheNextScanAndItsClean) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"notepad\\1");
  run.SetString(L"", L"b", L"calc\\1");
  Start();
  Show(page_id::kTraceCleaner);
  CTracewipeStartDlg* page = Trace();
  ASSERT_TRUE(page);
  page->SetItemPause(1);
  Press(page->hwnd(), 120, 405);  // "Clear All"
  page->SetNodeChecked(page->CategoryNode(1), true);  // the Run history only

  cleaning_pages::CCleaningResultsDlg* results = Scan(page);
  ASSERT_TRUE(results);
  ASSERT_EQ((std::vector<std::wstring>{L"a", L"b"}), Names(results));
  EXPECT_TRUE(results->IgnoreRow(RowOf(results, L"a"), IgnoreChoice::kItem));
  EXPECT_EQ((std::vector<std::wstring>{L"b"}), Names(results));
  std::vector<base::Exclusion> stored = base::ReadExclusions();
  ASSERT_EQ(1u, stored.size());
  EXPECT_EQ(base::ExclusionKind::kRegistry, stored[0].kind);

  test::MessageBoxWatcher boxes;
  Click(results->hwnd(), IDC_CLEAN);
  EXPECT_EQ(L"Remove Completed.", boxes.seen().back().text);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"b"));
  ASSERT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));

  results = Scan(page);
  ASSERT_TRUE(results);
  EXPECT_TRUE(Names(results).empty());
}

}  // namespace

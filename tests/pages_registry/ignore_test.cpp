// "Ignore" on the registry cleaner's results: the finding leaves the list, Clean repairs the rest
// and leaves it, later scans do not list it, and removing the exclusion brings it back.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/exclusions.h"
#include "pages/home_registry/resource.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/pump.h"

namespace {

using regtest::RegistryCleaner;

TEST_F(RegistryCleaner, AnIgnoredFindingIsLeftByCleanAndByLaterScansUntilItsExclusionGoes) {
  test::RegistrySandbox exclusions(HKEY_CURRENT_USER, base::kExclusionsKey);
  regtest::BrokenClasses classes(3);
  auto titles = [&] {
    std::vector<std::wstring> titles;
    for (const std::wstring& row : Rows()) titles.push_back(row.substr(0, row.find(L'|')));
    return titles;
  };
  auto scan = [&] {
    SelectOnly({1});
    StartScan();
    return WaitForResults();
  };
  ASSERT_TRUE(scan());
  ASSERT_EQ((std::vector<std::wstring>{classes.Title(0), classes.Title(1), classes.Title(2)}), titles());

  CHivescrubResultsDlg& results = *page().resultsPage();
  SendMessageW(results.list(), LB_SETCURSEL, 1, 0);
  SendMessageW(GetDlgItem(results.hwnd(), CHivescrubResultsDlg::kIgnoreButtonId), BM_CLICK, 0, 0);
  EXPECT_EQ((std::vector<std::wstring>{classes.Title(0), classes.Title(2)}), titles());
  EXPECT_EQ(2, results.problemCount());
  EXPECT_EQ(2u, page().problems().size());
  std::vector<base::Exclusion> stored = base::ReadExclusions();
  ASSERT_EQ(1u, stored.size());
  EXPECT_EQ(base::RegistryIdentity(1, classes.Title(1), L""), stored[0].identity);

  SendMessageW(GetDlgItem(results.hwnd(), IDC_CLEAN), BM_CLICK, 0, 0);
  EXPECT_EQ(L"Repair Completed.", boxes_->seen().back().text);
  EXPECT_FALSE(classes.Exists(0));
  EXPECT_TRUE(classes.Exists(1));
  EXPECT_FALSE(classes.Exists(2));
  ASSERT_TRUE(test::PumpUntil([&] { return page().viewState() == CHivescrubStartDlg::kStartView; }, 3000));

  ASSERT_TRUE(scan());
  EXPECT_TRUE(titles().empty());
  EXPECT_EQ(0, page().resultsPage()->problemCount());
  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_BACK), BM_CLICK, 0, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return page().viewState() == CHivescrubStartDlg::kStartView; }, 3000));

  ASSERT_TRUE(base::RemoveExclusion(stored[0].identity));
  ASSERT_TRUE(scan());
  EXPECT_EQ((std::vector<std::wstring>{classes.Title(1)}), titles());
}

}  // namespace

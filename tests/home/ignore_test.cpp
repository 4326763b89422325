// The user's exclusions on the one-click scan: an excluded registry finding and trace are neither
// listed, counted in the health score, nor touched by Repair All; a junk folder ignored on the
// results leaves the list, the count and the score at once and is not repaired either.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/exclusions.h"
#include "pages/home_registry/home_resource.h"
#include "tests/home/home_host.h"
#include "tests/support/pump.h"

namespace {

using namespace one_click;
using hometest::HomePage;

const wchar_t kClass[] = L"Software\\Classes\\CLSID\\{4C554D41-0000-4000-8000-000000000000}";

bool Mentions(const std::vector<std::wstring>& texts, const std::wstring& part) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::wstring& t) { return t.find(part) != std::wstring::npos; });
}

TEST_F(HomePage, ExcludedItemsAreNotListedNotScoredAndSurviveRepairAll) {
  hometest::SeededProblems seeded;
  test::RegistrySandbox exclusions(HKEY_CURRENT_USER, base::kExclusionsKey);
  using base::ExclusionKind;
  ASSERT_EQ(base::AddResult::kAdded,
            base::AddExclusion({ExclusionKind::kRegistry,
                                base::RegistryIdentity(1, std::wstring(L"HKEY_CURRENT_USER\\") + kClass, L"")}));
  ASSERT_EQ(base::AddResult::kAdded,
            base::AddExclusion({ExclusionKind::kRegistry,
                                base::RegistryIdentity(0, L"HKEY_CURRENT_USER\\" + std::wstring(hometest::kRunMru) + L"\\",
                                                       L"a")}));
  StartScan();
  ASSERT_TRUE(WaitForResults());
  CHomeScanDlg& scan = *page().scanPage();
  EXPECT_FALSE(Mentions(Column(kRegistry, 0), L"{4C554D41-0000-4000-8000-000000000000}"));
  // The junk file is ignored on its tab, by its folder: it leaves the list, the count and the score.
  std::vector<std::wstring> junk = Column(kJunk, 0);
  auto at = std::find(junk.begin(), junk.end(), L"left-over.tmp");
  ASSERT_NE(junk.end(), at);
  size_t junkFound = page().found(kJunk).size();
  EXPECT_TRUE(scan.list(kJunk).IgnoreRow(static_cast<int>(at - junk.begin()), cleaning_pages::IgnoreChoice::kFolder));
  EXPECT_FALSE(Mentions(Column(kJunk, 0), L"left-over.tmp"));
  EXPECT_EQ(junkFound - 1, page().found(kJunk).size());
  EXPECT_TRUE(base::ExclusionSet::Load().ExcludesPath(L"T:\\home-test\\other.tmp"));
  std::vector<std::wstring> names = Column(kEvidence, 0), places = Column(kEvidence, 1);
  for (size_t i = 0; i < names.size() && i < places.size(); ++i)
    EXPECT_FALSE(names[i] == L"a" && places[i].find(L"RunMRU") != std::wstring::npos);
  for (int g : {kRegistry, kJunk, kEvidence}) {
    EXPECT_EQ(static_cast<size_t>(scan.list(g).RowCount()), page().found(g).size()) << g;
    EXPECT_EQ(scan.tally().found[g], scan.list(g).RowCount()) << g;
  }
  EXPECT_EQ(std::to_wstring(HealthScore(scan.tally())), Setting(L"SystemStatus"));

  ClickScanPage(IDC_HOME_REPAIR_ALL);
  ASSERT_TRUE(test::PumpUntil([&] { return page().scanPage() == nullptr; }, 60000));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, kClass));
  EXPECT_TRUE(test::FileExists(seeded.junkFile()));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, hometest::kRunMru, L"a"));
}

}  // namespace

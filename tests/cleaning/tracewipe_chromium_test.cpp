// The traces of the Chromium-family browsers and of Windows Vista to 11 that live in files: which
// profiles are found, that each category reports exactly its files, that a clean of everything
// spares what the user keeps, and how held files and a running browser are left alone. Also the
// bounded reader of "Local State".
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contracts/messages.h"
#include "contracts/tracewipe.h"
#include "engines/tracewipe/local_state.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

using cleaning_test::ItemText;
using cleaning_test::Sorted;

std::wstring Made(const std::wstring& folder) {
  EXPECT_TRUE(test::MakeFolders(folder));
  return folder;
}

// A user whose application data folders lie in a scratch folder.
class BrowserTraces : public ::testing::Test {
 protected:
  BrowserTraces()
      : roaming_(Made(scratch_ / L"Users\\ann\\AppData\\Roaming")),
        local_(Made(scratch_ / L"Users\\ann\\AppData\\Local")),
        roamingOverride_(L"AppData", roaming_),
        localOverride_(L"Local AppData", local_) {}

  void SetUp() override { ASSERT_EQ(local_, test::ShellFolder(CSIDL_LOCAL_APPDATA)); }

  std::wstring Write(const std::wstring& path, size_t bytes = 3) {
    EXPECT_TRUE(test::WriteFile(path, std::string(bytes, 'c')));
    return path;
  }
  static std::wstring Item(const std::wstring& path, uint64_t size = 3) {
    return ItemText(path.substr(path.rfind(L'\\') + 1), path, size);
  }
  std::vector<std::wstring> Scan(int group, int index) {
    test::ReportRecorder recorder;
    TracewipeGetEvidenceFile(recorder.window(), group, 1, index);
    return Sorted(cleaning_test::FileItems(recorder, report_kind::kTraceItem));
  }
  static int Clean(const std::wstring& itemText) {
    return TracewipeCleanEvidenceFile(cleaning_test::ItemName(itemText).c_str(),
                                      cleaning_test::PageLocation(itemText).c_str());
  }

  test::ScratchFolder scratch_;
  std::wstring roaming_, local_;
  cleaning_test::ShellFolderOverride roamingOverride_, localOverride_;
};

TEST_F(BrowserTraces, EachCategoryTakesExactlyItsFilesOfEveryProfileAndACleanSparesTheRest) {
  const std::wstring data = local_ + L"\\Google\\Chrome\\User Data";
  const std::wstring main = data + L"\\Default", second = data + L"\\Profile 2", named = data + L"\\Work";
  ASSERT_TRUE(test::WriteFile(data + L"\\Local State",
                              "{\"browser\":{\"x\":[1,2.5e3,true,null]},\"profile\":{\"info_cache\":{"
                              "\"Default\":{\"name\":\"Person 1\"},\"Work\":{\"name\":\"W\\u00f6rk\"},"
                              "\"..\\\\..\\\\Outside\":{},\"Missing\":{}}}}"));
  Made(second);
  std::vector<std::wstring> history, cookies, cache, sessions, passwords;
  for (const std::wstring& p : {main, second, named}) {
    for (const wchar_t* f : {L"History", L"History-journal", L"Visited Links", L"Top Sites", L"Shortcuts",
                             L"Network Action Predictor"})
      history.push_back(Item(Write(p + L"\\" + f)));
    for (const wchar_t* f : {L"Network\\Cookies", L"Network\\Cookies-journal"})
      cookies.push_back(Item(Write(p + L"\\" + f)));
    for (const wchar_t* f : {L"Cache\\Cache_Data\\data_0", L"Cache\\Cache_Data\\f_000001", L"Code Cache\\js\\index",
                             L"GPUCache\\data_1"})
      cache.push_back(Item(Write(p + L"\\" + f)));
    for (const wchar_t* f : {L"Sessions\\Session_13300000000000000", L"Current Session", L"Last Tabs"})
      sessions.push_back(Item(Write(p + L"\\" + f)));
    for (const wchar_t* f : {L"Login Data", L"Login Data For Account-journal"})
      passwords.push_back(Item(Write(p + L"\\" + f)));
  }
  cookies.push_back(Item(Write(second + L"\\Cookies")));  // older versions kept them in the profile
  const std::vector<std::wstring> kept = {
      Write(main + L"\\Bookmarks"), Write(main + L"\\Preferences"), Write(main + L"\\Web Data"),
      Write(main + L"\\Extensions\\abc\\1.0\\manifest.json"), Write(main + L"\\Favicons"),
      Write(data + L"\\History"),  // the user-data folder is no profile
      Write(data + L"\\Other\\History"), Write(local_ + L"\\Google\\Chrome\\Outside\\History"),
      Write(local_ + L"\\Outside\\History"), Write(main + L"\\Network\\TransportSecurity")};

  EXPECT_EQ(Sorted(history), Scan(4, 38));
  EXPECT_EQ(Sorted(cookies), Scan(4, 39));
  EXPECT_EQ(Sorted(cache), Scan(4, 40));
  EXPECT_EQ(Sorted(sessions), Scan(4, 41));
  EXPECT_EQ(Sorted(passwords), Scan(4, 42));
  EXPECT_TRUE(Scan(5, 43).empty());  // no Edge here

  for (int index = 38; index <= 42; ++index) {
    for (const std::wstring& found : Scan(4, index)) EXPECT_EQ(1, Clean(found));
  }
  for (int index = 38; index <= 42; ++index) EXPECT_TRUE(Scan(4, index).empty()) << index;
  for (const std::wstring& stays : kept) EXPECT_TRUE(test::FileExists(stays)) << std::string(stays.begin(), stays.end());
  // Named by hand, a kept file is refused all the same.
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"Bookmarks", (main + L"\\").c_str()));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"History", (data + L"\\").c_str()));
}

TEST_F(BrowserTraces, ADamagedLocalStateFallsBackToTheProfileFoldersAndManyProfilesAreAllFound) {
  const std::wstring data = local_ + L"\\Microsoft\\Edge\\User Data";
  std::vector<std::wstring> expected;
  for (int n = 1; n <= 100; ++n) expected.push_back(Item(Write(data + L"\\Profile " + std::to_wstring(n) + L"\\History")));
  const std::wstring listedOnly = Write(data + L"\\Work\\History");
  // Invalid UTF-8 in a name: the whole file is disregarded, its "Work" with it.
  ASSERT_TRUE(test::WriteFile(data + L"\\Local State", "{\"profile\":{\"info_cache\":{\"Work\":{},\"\xC3\x28\":{}}}}"));
  EXPECT_EQ(Sorted(expected), Scan(5, 43));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"History", (data + L"\\Work\\").c_str()));
  EXPECT_TRUE(test::FileExists(listedOnly));
}

TEST_F(BrowserTraces, ARunningBrowserKeepsAllItsFilesAndAHeldFileStays) {
  // Opera keeps its profile in the roaming folder and its cache in the local one.
  const std::wstring opera = roaming_ + L"\\Opera Software\\Opera Stable";
  const std::wstring history = Write(opera + L"\\History");
  const std::wstring cache = Write(local_ + L"\\Opera Software\\Opera Stable\\Cache\\Cache_Data\\data_0");
  EXPECT_EQ(std::vector<std::wstring>{Item(history)}, Scan(6, 48));
  EXPECT_EQ(std::vector<std::wstring>{Item(cache)}, Scan(6, 50));
  {
    cleaning_test::HeldFile lock(Write(opera + L"\\lockfile"));  // Opera is running
    ASSERT_TRUE(lock.holding());
    EXPECT_EQ(2, Clean(Item(history)));
    EXPECT_EQ(2, Clean(Item(cache)));
    EXPECT_TRUE(test::FileExists(history));
    EXPECT_TRUE(test::FileExists(cache));
  }
  {
    cleaning_test::HeldFile held(history);
    ASSERT_TRUE(held.holding());
    EXPECT_EQ(2, Clean(Item(history)));
    EXPECT_EQ(1, Clean(Item(cache)));
  }
  EXPECT_EQ(1, Clean(Item(history)));
}

TEST_F(BrowserTraces, TheThumbnailCachesAreExplorersDatabasesOnly) {
  const std::wstring explorer = local_ + L"\\Microsoft\\Windows\\Explorer";
  const std::wstring thumbs = Write(explorer + L"\\thumbcache_256.db"), icons = Write(explorer + L"\\iconcache_16.db");
  const std::wstring log = Write(explorer + L"\\ExplorerStartupLog.etl"), idx = Write(explorer + L"\\thumbcache_idx.dbx");
  EXPECT_EQ(Sorted({Item(thumbs), Item(icons)}), Scan(0, 37));
  {
    cleaning_test::HeldFile held(thumbs);  // Explorer keeps them open
    ASSERT_TRUE(held.holding());
    EXPECT_EQ(2, Clean(Item(thumbs)));
  }
  EXPECT_EQ(1, Clean(Item(icons)));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"ExplorerStartupLog.etl", (explorer + L"\\").c_str()));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"thumbcache_idx.dbx", (explorer + L"\\").c_str()));
  EXPECT_TRUE(test::FileExists(thumbs) && test::FileExists(log) && test::FileExists(idx));
}

TEST_F(BrowserTraces, TheRecentWalkKeepsTheFoldersPinnedToQuickAccess) {
  const std::wstring recent = Made(roaming_ + L"\\Microsoft\\Windows\\Recent");
  cleaning_test::ShellFolderOverride recentOverride(L"Recent", recent);
  const std::wstring pinned = Write(recent + L"\\AutomaticDestinations\\f01b4d95cf55d32a.automaticDestinations-ms");
  const std::wstring jump = Write(recent + L"\\AutomaticDestinations\\5f7b5f1e01b83767.automaticDestinations-ms");
  const std::wstring link = Write(recent + L"\\a.txt.lnk");
  EXPECT_EQ(Sorted({Item(jump), Item(link)}), Scan(0, 0));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"f01b4d95cf55d32a.automaticDestinations-ms",
                                          (recent + L"\\AutomaticDestinations\\").c_str()));
  EXPECT_TRUE(test::FileExists(pinned));
}

TEST(LocalState, TheReaderTakesOnlyWellFormedBoundedText) {
  std::vector<std::wstring> names;
  ASSERT_TRUE(tracewipe::ReadLocalStateProfiles(
      "\xEF\xBB\xBF {\"profile\" : {\"last_used\":\"Default\", \"info_cache\" : {\"Default\":{\"a\":[{}]},"
      "\"Profile 7\":{}, \"\\ud83d\\ude00 \\u00e9\xC3\xA9\":{}}}, \"other\":{\"info_cache\":{\"Not\":{}}}}\r\n",
      &names));
  EXPECT_EQ((std::vector<std::wstring>{L"Default", L"Profile 7", L"\U0001F600 \u00e9\u00e9"}), names);

  const std::string deep(100000, '[');
  const std::string many = [] {
    std::string text = "{\"profile\":{\"info_cache\":{";
    for (int i = 0; i <= 1000; ++i) text += (i ? ",\"p" : "\"p") + std::to_string(i) + "\":{}";
    return text + "}}}";
  }();
  std::string huge = "{\"profile\":{\"info_cache\":{\"Default\":{}}},\"pad\":\"" +
                     std::string(tracewipe::kLargestLocalState, 'x') + "\"}";
  for (const std::string& bad :
       {deep, many, huge, std::string("{\"profile\":{\"info_cache\":{\"A\":{}}}"),  // unclosed
        std::string("{\"profile\":{\"info_cache\":{\"\xED\xA0\x80\":{}}}}"),        // a surrogate in UTF-8
        std::string("{\"profile\":{\"info_cache\":{\"\\ud800\":{}}}}"),             // half a pair
        std::string("{\"profile\":{\"info_cache\":{\"A\":01}}}"), std::string("{} {}"), std::string()}) {
    EXPECT_FALSE(tracewipe::ReadLocalStateProfiles(bad, &names)) << bad.substr(0, 60);
    EXPECT_TRUE(names.empty());
  }
}

}  // namespace

// Tracewipe's histories kept by Windows, Internet Explorer and other programs in the registry, and
// the traces Firefox and Flash Player keep in files: what each category finds, and that cleaning
// what it found removes exactly that. Built twice, as Windows 7 and as Windows XP, whose application
// data folders lie at different paths.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contracts/messages.h"
#include "contracts/tracewipe.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

using cleaning_test::ItemText;
using cleaning_test::Sorted;

const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const wchar_t kAtKey[] = L"";  // a progress text that is the item's own location

// One value a test puts into the registry. A trace carries the progress text and size its category
// must report; any other value must survive the clean of everything the category found.
struct Seed {
  std::wstring sub;
  const wchar_t* name;
  DWORD type;
  std::string data;  // REG_SZ: ASCII text; otherwise the raw bytes
  bool trace;
  std::wstring progress = kAtKey;
  uint64_t size = 0;
};

Seed Trace(std::wstring sub, const wchar_t* name, const std::string& text, std::wstring progress = std::wstring()) {
  if (progress.empty()) progress.assign(text.begin(), text.end());
  return {std::move(sub), name, REG_SZ, text, true, progress, text.size() * 2};
}
Seed Binary(std::wstring sub, const wchar_t* name, const std::string& bytes, std::wstring progress = kAtKey) {
  return {std::move(sub), name, REG_BINARY, bytes, true, progress, bytes.size()};
}
Seed Keep(std::wstring sub, const wchar_t* name) { return {std::move(sub), name, REG_SZ, "kept", false}; }

struct RegistryCategory {
  int group, index;
  std::wstring root;  // taken out of the way for the test
  std::vector<Seed> seeds;
};

TEST(TraceSources, EachRegistryHistoryFindsItsValuesAndCleansExactlyThem) {
  const std::string kStamp("\x10\x20\x30\x40\x50\x60\x70\x80", 8);
  const std::wstring kAssist = L"{75048700-EF1F-11D0-9888-006097DEACF9}";
  const RegistryCategory categories[] = {
      {0, 4, std::wstring(kExplorer) + L"Map Network Drive MRU",
       {Trace(L"", L"a", "\\\\server\\share"), Trace(L"", L"MRUList", "a")}},
      {0, 6, std::wstring(kExplorer) + L"FindComputerMRU", {Trace(L"", L"a", "ACCOUNTS")}},
      {0, 8, std::wstring(kExplorer) + L"UserAssist",
       {Binary(kAssist + L"\\Count", L"HRZR_EHACNGU:P:\\Jvaqbjf\\abgrcnq.rkr", kStamp,
               L"UEME_RUNPATH:C:\\Windows\\notepad.exe"),
        Binary(kAssist + L"\\Count", L"HRZR_PGYFRFFVBA", "\x01\x02", L"UEME_CTLSESSION"),
        Keep(kAssist, L"Version"), Keep(L"", L"NoLog")}},
      {0, 9, std::wstring(kExplorer) + L"MenuOrder",
       {Binary(L"Start Menu2\\Programs", L"Order", kStamp), Binary(L"Favorites\\Links\\Deep", L"Order", "\x08"),
        Keep(L"Start Menu2\\Programs", L"Orderly")}},
      {0, 10, L"Software\\Microsoft\\RAS Autodial",
       {Trace(L"Addresses\\www.example.com", L"Network", "Office"), Keep(L"Default", L"DefaultInternet")}},
      {0, 11, L"Software\\Microsoft\\Telnet",
       {Trace(L"", L"Machine1", "host.example"), Trace(L"", L"LastMachine", "h2"), Keep(L"", L"Rows")}},
      {1, 12, L"Software\\Microsoft\\Internet Explorer",
       {Trace(L"TypedURLs", L"url1", "http://a.example/"), Binary(L"TypedURLsTime", L"url1", kStamp),
        Keep(L"Main", L"Start Page"), Keep(L"IntelliForms\\Storage1", L"A1")}},
      {1, 15, L"Software\\Microsoft\\Internet Explorer",
       {Binary(L"IntelliForms\\Storage1", L"E1B2", kStamp), Keep(L"IntelliForms\\Storage2", L"F3C4"),
        Keep(L"TypedURLs", L"url1")}},
      {1, 16, L"Software\\Microsoft\\Internet Explorer",
       {Binary(L"IntelliForms\\Storage2", L"F3C4", "\x01\x02\x03\x04"), Keep(L"IntelliForms\\Storage1", L"E1B2")}},
      {3, 27, L"Software\\Apple Computer, Inc.\\QuickTime\\LocalUserPreferences",
       {Trace(L"Recent Movies", L"Movie1", "C:\\m.mov"), Keep(L"", L"Volume")}},
      {3, 31, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint",
       {Trace(L"Recent File List", L"File1", "C:\\a.bmp"), Keep(L"View", L"WindowPlacement")}},
      {3, 32, L"Software\\WinRAR",
       {Trace(L"ArcHistory", L"0", "C:\\a.rar"), Trace(L"DialogEditHistory\\ExtrPath", L"0", "C:\\out"),
        Keep(L"General", L"Toolbar")}},
      // Windows Vista to 11; values of every type, and decoys beside them.
      {0, 33, std::wstring(kExplorer) + L"WordWheelQuery",
       {Binary(L"", L"0", std::string("q\0u\0\0\0", 6)), Binary(L"", L"MRUListEx", kStamp),
        Keep(L"Deeper", L"0")}},
      {0, 34, std::wstring(kExplorer) + L"TypedPaths",
       {Trace(L"", L"url1", "C:\\Secret"),
        {L"", L"url3", REG_MULTI_SZ, std::string("a\0b\0\0\0\0\0", 8), true, kAtKey, 8},
        {L"", L"url4", REG_NONE, std::string(), true, kAtKey, 0}, Keep(L"Deeper", L"url1")}},
      {0, 35, std::wstring(kExplorer) + L"RecentDocs",
       {Binary(L"", L"0", kStamp), Binary(L".txt", L"0", "\x01"), {L".txt", L"MRUListEx", REG_DWORD,
        std::string("\x01\0\0\0", 4), true, kAtKey, 4}, Keep(L".txt\\Deeper", L"0")}},
      {0, 36, std::wstring(kExplorer) + L"ComDlg32",
       {Binary(L"LastVisitedPidlMRU", L"0", kStamp), Trace(L"LastVisitedMRU", L"a", "notepad.exe"),
        {L"CIDSizeMRU", L"0", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8), true, kAtKey, 8},
        Keep(L"OpenSavePidlMRU\\txt", L"0"), Keep(L"OpenSaveMRU\\txt", L"a"), Keep(L"", L"Decoy")}},
  };

  for (const RegistryCategory& category : categories) {
    SCOPED_TRACE(category.index);
    test::RegistrySandbox box(HKEY_CURRENT_USER, category.root);
    cleaning_test::ReportPairs expected;
    for (const Seed& seed : category.seeds) {
      if (seed.type == REG_SZ)
        box.SetString(seed.sub, seed.name, std::wstring(seed.data.begin(), seed.data.end()));
      else
        box.SetRaw(seed.sub, seed.name, seed.type, seed.data.data(), static_cast<DWORD>(seed.data.size()));
      std::wstring location = L"HKEY_CURRENT_USER\\" + box.Sub(seed.sub) + L"\\";
      if (seed.trace)
        expected.emplace_back(seed.progress.empty() ? location : seed.progress,
                              ItemText(seed.name, location, seed.size));
    }
    test::ReportRecorder recorder;
    TracewipeGetEvidenceFile(recorder.window(), category.group, 1, category.index);
    cleaning_test::ExpectRegistryReports(expected, recorder);
    for (const std::wstring& item : recorder.TextsOfKind(report_kind::kTraceItem)) {
      TracewipeCleanEvidenceFile(cleaning_test::ItemName(item).c_str(), cleaning_test::PageLocation(item).c_str());
    }
    for (const Seed& seed : category.seeds) {
      EXPECT_EQ(!seed.trace, test::ValueExists(HKEY_CURRENT_USER, box.Sub(seed.sub), seed.name))
          << std::string(seed.data);
    }
  }
}

TEST(TraceSources, AStopEndsADeepHistoryWalkAtOnce) {
  test::RegistrySandbox winrar(HKEY_CURRENT_USER, L"Software\\WinRAR\\DialogEditHistory");
  for (const wchar_t* sub : {L"ArcName", L"ExtrPath", L"Find\\Deeper"}) winrar.SetString(sub, L"0", L"C:\\x");
  test::ReportRecorder recorder;
  recorder.SetReplies(
      [](const test::Report&, size_t index) { return index == 1 ? report_reply::kStop : report_reply::kGoOn; });
  TracewipeScanWinRAR(recorder.window());
  EXPECT_EQ(2u, recorder.reports().size());
}

std::wstring Made(const std::wstring& folder) {
  EXPECT_TRUE(test::MakeFolders(folder));
  return folder;
}

std::string Utf8(const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
  return out;
}

// A user whose application data folders lie where the Windows generation of the test binary puts
// them, with Firefox profiles and Flash objects in them.
class TraceFiles : public ::testing::Test {
 protected:
  TraceFiles()
      : home_(cleaning_test::RunningAsXp() ? scratch_ / L"Documents and Settings\\ann" : scratch_ / L"Users\\ann"),
        roaming_(Made(home_ + (cleaning_test::RunningAsXp() ? L"\\Application Data" : L"\\AppData\\Roaming"))),
        local_(
            Made(home_ + (cleaning_test::RunningAsXp() ? L"\\Local Settings\\Application Data" : L"\\AppData\\Local"))),
        roamingOverride_(L"AppData", roaming_),
        localOverride_(L"Local AppData", local_) {}

  void SetUp() override {
    ASSERT_EQ(roaming_, test::ShellFolder(CSIDL_APPDATA));
    ASSERT_EQ(local_, test::ShellFolder(CSIDL_LOCAL_APPDATA));
  }

  std::wstring Write(const std::wstring& path, size_t bytes) {
    EXPECT_TRUE(test::WriteFile(path, std::string(bytes, 'f')));
    return path;
  }

  std::vector<std::wstring> Scan(int group, int index) {
    test::ReportRecorder recorder;
    TracewipeGetEvidenceFile(recorder.window(), group, 1, index);
    return cleaning_test::FileItems(recorder, report_kind::kTraceItem);
  }

  test::ScratchFolder scratch_;
  std::wstring home_, roaming_, local_;
  cleaning_test::ShellFolderOverride roamingOverride_, localOverride_;
};

TEST_F(TraceFiles, FirefoxTracesOfEveryListedProfileAndNothingElse) {
  const std::wstring firefox = roaming_ + L"\\Mozilla\\Firefox";
  const std::wstring relative = L"Profiles\\k3x9.d\u00e9faut";
  const std::wstring main = firefox + L"\\" + relative, mainLocal = local_ + L"\\Mozilla\\Firefox\\" + relative;
  const std::wstring other = scratch_ / L"Elsewhere\\p2";
  ASSERT_TRUE(
      test::WriteFile(firefox + L"\\profiles.ini",
                      "\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n\r\n"
                      "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=" +
                          Utf8(L"Profiles/k3x9.d\u00e9faut") +
                          "\r\nDefault=1\r\n\r\n[Profile1]\r\nName=moved\r\nIsRelative=0\r\nPath=" + Utf8(other) +
                          "\r\n\r\n[Profile2]\r\nName=out\r\nIsRelative=1\r\nPath=../../Outside\r\n\r\n"
                          "[Profile3]\r\nName=twice\r\nIsRelative=1\r\nPath=" +
                          Utf8(relative) + "\r\n"));
  const std::wstring cookies = Write(main + L"\\cookies.sqlite", 10), wal = Write(main + L"\\cookies.sqlite-wal", 3);
  const std::wstring form = Write(main + L"\\formhistory.sqlite", 7), logins = Write(main + L"\\logins.json", 5);
  const std::wstring signons = Write(main + L"\\signons.sqlite", 4), downloads = Write(main + L"\\downloads.sqlite", 6);
  const std::wstring entry = Write(mainLocal + L"\\cache2\\entries\\9F3A", 20),
                     index = Write(mainLocal + L"\\cache2\\index", 4);
  const std::wstring otherCookies = Write(other + L"\\cookies.sqlite", 1),
                     backup = Write(other + L"\\logins-backup.json", 2);
  const std::wstring otherEntry = Write(other + L"\\cache2\\entries\\01", 3);
  const std::vector<std::wstring> kept = {Write(main + L"\\places.sqlite", 9),
                                          Write(main + L"\\places.sqlite-wal", 9),
                                          Write(main + L"\\key4.db", 9),
                                          Write(main + L"\\key3.db", 9),
                                          Write(main + L"\\bookmarkbackups\\bookmarks-2024.jsonlz4", 9),
                                          Write(main + L"\\prefs.js", 9),
                                          Write(roaming_ + L"\\Outside\\cookies.sqlite", 9),
                                          Write(mainLocal + L"\\startupCache\\startupCache.8.little", 9)};

  auto item = [](const std::wstring& path, uint64_t size) {
    return ItemText(path.substr(path.rfind(L'\\') + 1), path, size);
  };
  EXPECT_EQ(Sorted({item(cookies, 10), item(wal, 3), item(otherCookies, 1)}), Sorted(Scan(2, 19)));
  EXPECT_EQ(Sorted({item(entry, 20), item(index, 4), item(otherEntry, 3)}), Sorted(Scan(2, 20)));
  EXPECT_EQ(Sorted({item(form, 7)}), Sorted(Scan(2, 21)));
  EXPECT_EQ(Sorted({item(logins, 5), item(signons, 4), item(backup, 2)}), Sorted(Scan(2, 22)));
  EXPECT_EQ(Sorted({item(downloads, 6)}), Sorted(Scan(2, 23)));

  // A full clean while the browser holds its cookie store open: that file waits for the next scan.
  cleaning_test::HeldFile held(cookies);
  ASSERT_TRUE(held.holding());
  for (int category = 19; category <= 23; ++category) {
    for (const std::wstring& found : Scan(2, category)) {
      int removed = cleaning_test::PageLocation(found) + cleaning_test::ItemName(found) == cookies ? 2 : 1;
      EXPECT_EQ(removed, TracewipeCleanEvidenceFile(cleaning_test::ItemName(found).c_str(),
                                                    cleaning_test::PageLocation(found).c_str()));
    }
  }
  for (const std::wstring& gone :
       {wal, form, logins, signons, downloads, entry, index, otherCookies, backup, otherEntry})
    EXPECT_FALSE(test::FileExists(gone)) << std::string(gone.begin(), gone.end());
  for (const std::wstring& stays : kept)
    EXPECT_TRUE(test::FileExists(stays)) << std::string(stays.begin(), stays.end());
  EXPECT_EQ(std::vector<std::wstring>{item(cookies, 10)}, Scan(2, 19));
}

TEST_F(TraceFiles, FlashObjectsAreTheFilesBelowSharedObjects) {
  const std::wstring flash = roaming_ + L"\\Macromedia\\Flash Player";
  const std::wstring sol = Write(flash + L"\\#SharedObjects\\XY12AB\\localhost\\game.sol", 11);
  const std::wstring top = Write(flash + L"\\#SharedObjects\\XY12AB\\site.sol", 2);
  const std::wstring settings = Write(flash + L"\\macromedia.com\\support\\flashplayer\\sys\\settings.sol", 5);
  std::vector<std::wstring> found = Scan(3, 29);
  EXPECT_EQ(Sorted({ItemText(L"game.sol", sol, 11), ItemText(L"site.sol", top, 2)}), Sorted(found));
  for (const std::wstring& text : found) {
    TracewipeCleanEvidenceFile(cleaning_test::ItemName(text).c_str(), cleaning_test::PageLocation(text).c_str());
  }
  EXPECT_FALSE(test::FileExists(sol));
  EXPECT_FALSE(test::FileExists(top));
  EXPECT_TRUE(test::FileExists(settings));
}

}  // namespace

// Litterbin's junk scan and clean: the junk names on extra fixed drives, the system drive's four
// folders, the report protocol in a deep walk, and files that cannot or must not be deleted.
#include "contracts/litterbin.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "contracts/messages.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/pump.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

using cleaning_test::ItemText;
using cleaning_test::Sorted;

std::vector<std::wstring> JunkItems(test::ReportRecorder& recorder, const wchar_t* drive) {
  LitterbinGetJunkFile(recorder.window(), drive);
  return cleaning_test::FileItems(recorder, report_kind::kJunkItem);
}

size_t ProgressCount(const test::ReportRecorder& recorder) {
  return recorder.OfKind(report_kind::kCleanProgress).size();
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

TEST(JunkPatterns, OnlyJunkNamesAreReportedOnceEachInEitherLetterCase) {
  test::ExtraDrive t(L'T');
  ASSERT_TRUE(t.present());
  const wchar_t* junk[] = {L"a\\c.tmp", L"x.old", L"y.~de", L"a\\b.TMP", L"~$X.DOCX", L"~$a.tmp", L".tmp",
                           L"~$", L"deep\\er\\still\\q.old", L"a.Old", L"a.~DE"};
  const wchar_t* kept[] = {L"a.tmpl", L"b.TMPL", L"report.old~", L"tmp", L"~a.txt", L"$~x",
                           L"x.tmp.txt", L"deep\\er\\notes.txt", L"old", L"~"};
  std::vector<std::wstring> expected;
  for (const wchar_t* file : junk) {
    std::wstring path = t.Write(file, "abc");
    expected.push_back(ItemText(path.substr(path.rfind(L'\\') + 1), path, 3));
  }
  for (const wchar_t* file : kept) t.Write(file, "abc");
  test::ReportRecorder recorder;
  EXPECT_EQ(Sorted(expected), Sorted(JunkItems(recorder, L"T:\\")));
  EXPECT_GE(ProgressCount(recorder), 1u);
  EXPECT_LE(ProgressCount(recorder), sizeof(junk) / sizeof(junk[0]) + sizeof(kept) / sizeof(kept[0]));
}

TEST(JunkScan, AnOrdinaryReceiverGetsEveryItem) {
  test::ExtraDrive t(L'T');
  for (const wchar_t* file : {L"a.tmp", L"b\\c.old", L"b\\d.tmp", L"e.~de"}) t.Write(file, "x");
  test::ReportRecorder answersTrue, leavesItToWindows;
  answersTrue.SetReply(TRUE);
  leavesItToWindows.LeaveToDefWindowProc();
  EXPECT_EQ(4u, JunkItems(answersTrue, L"T:\\").size());
  EXPECT_EQ(4u, JunkItems(leavesItToWindows, L"T:\\").size());
}

// Progress is for the eye: a large folder sends far fewer progress reports than it has files, but
// at least the first; every item still comes once, in the order the folder lists its files.
TEST(JunkScan, ProgressIsThinnedButEveryItemComesOnceInWalkOrder) {
  test::ExtraDrive t(L'T');
  const int kFiles = 10000;
  for (int i = 0; i < kFiles; ++i) t.Write(L"big\\f" + std::to_wstring(i) + (i % 3 ? L".dat" : L".tmp"), "");
  std::vector<std::wstring> walked;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(L"T:\\big\\*", &data);
  ASSERT_NE(INVALID_HANDLE_VALUE, find);
  do {
    std::wstring name = data.cFileName;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, L".tmp") == 0) {
      walked.push_back(ItemText(name, L"T:\\big\\" + name, 0));
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  test::ReportRecorder recorder;
  LitterbinGetJunkFile(recorder.window(), L"T:\\");
  EXPECT_EQ(walked, recorder.TextsOfKind(report_kind::kJunkItem));
  ASSERT_FALSE(recorder.reports().empty());
  EXPECT_EQ(report_kind::kCleanProgress, recorder.reports()[0].kind) << "the first file is always shown";
  EXPECT_LT(ProgressCount(recorder), static_cast<size_t>(kFiles) / 10);
}

TEST(JunkPatterns, AnEmptyDriveSendsNothing) {
  test::ExtraDrive t(L'T');
  t.MakeFolder(L"empty\\deeper");
  test::ReportRecorder recorder;
  EXPECT_EQ(0, LitterbinGetJunkFile(recorder.window(), L"T:\\"));
  EXPECT_TRUE(recorder.reports().empty());
}

TEST(JunkScan, AFileOver4GiBIsReportedWithItsFullSize) {
  test::ExtraDrive t(L'T');
  const uint64_t size = (5ULL << 30) + 3;
  ASSERT_TRUE(test::WriteSparseFile(L"T:\\big\\huge.tmp", size));
  test::ReportRecorder recorder;
  EXPECT_EQ(std::vector<std::wstring>{ItemText(L"huge.tmp", L"T:\\big\\huge.tmp", size)}, JunkItems(recorder, L"T:\\"));
}

TEST(JunkScan, OnlyADriveRootIsScanned) {
  test::ExtraDrive t(L'T');
  t.Write(L"a\\x.tmp", "x");
  test::ReportRecorder recorder;
  for (const wchar_t* drive : {static_cast<const wchar_t*>(nullptr), L"", L"T", L"T:", L"T:/", L"T:\\a", L"T:\\a\\",
                               L"TT:\\", L"1:\\", L"T:\\\\"}) {
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LitterbinGetJunkFile(recorder.window(), drive));
  }
  EXPECT_TRUE(recorder.reports().empty());
}

// The sources of the system drive, in their order: Internet cache, Prefetch, the temporary folder,
// Recent, the Windows temporary folder, the two dump folders, the error reports, the full memory
// dump, the junk names below the profile, the Recycle Bin.
struct SystemFolders {
  static constexpr const wchar_t* kArchive = L"\\Microsoft\\Windows\\WER\\ReportArchive";
  static constexpr const wchar_t* kQueue = L"\\Microsoft\\Windows\\WER\\ReportQueue";
  std::wstring windows = test::ShellFolder(CSIDL_WINDOWS), local = test::ShellFolder(CSIDL_LOCAL_APPDATA),
               common = test::ShellFolder(CSIDL_COMMON_APPDATA), profile = test::ShellFolder(CSIDL_PROFILE);
  std::vector<std::wstring> paths = {test::ShellFolder(CSIDL_INTERNET_CACHE), windows + L"\\Prefetch",
                                     cleaning_test::TemporaryFolder(), test::ShellFolder(CSIDL_RECENT),
                                     windows + L"\\Temp", local + L"\\CrashDumps", windows + L"\\Minidump",
                                     local + kArchive, common + kArchive, local + kQueue, common + kQueue,
                                     windows + L"\\MEMORY.DMP", profile, L"C:\\Recycle Bin"};
  // Which of the sources holds path; -1 for none.
  int Holding(const std::wstring& path) const {
    for (size_t i = 0; i < paths.size(); ++i)
      if (path == paths[i] || StartsWith(path, paths[i] + L"\\")) return static_cast<int>(i);
    return -1;
  }
};

// Sets a file's creation and write times hours back from now.
void Age(const std::wstring& path, int hours) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  t.QuadPart -= static_cast<uint64_t>(hours) * 36000000000ULL;
  FILETIME then = {t.LowPart, t.HighPart};
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  EXPECT_TRUE(SetFileTime(file, &then, &then, &then));
  CloseHandle(file);
}

// Stops the scan at the first item outside the sources, so that a fault here never walks a
// whole drive.
void StopOutside(test::ReportRecorder& recorder, const SystemFolders& folders) {
  recorder.SetReplies([&folders](const test::Report& r, size_t) {
    if (r.kind != report_kind::kJunkItem) return report_reply::kGoOn;
    size_t first = r.text.find(L'|'), last = r.text.rfind(L'|');
    return folders.Holding(r.text.substr(first + 1, last - first - 1)) < 0 ? report_reply::kStop : report_reply::kGoOn;
  });
}

std::vector<std::wstring> ExpectSystemWalk(const wchar_t* drive, const SystemFolders& folders,
                                           const std::vector<std::wstring>& seeds, const std::wstring& outside) {
  test::ReportRecorder recorder;
  StopOutside(recorder, folders);
  std::vector<std::wstring> items = JunkItems(recorder, drive);
  int lastFolder = -1;
  for (const std::wstring& item : items) {
    std::wstring path = item.substr(item.find(L'|') + 1);
    path = path.substr(0, path.rfind(L'|'));
    int folder = folders.Holding(path);
    EXPECT_GE(folder, lastFolder) << "out of order or outside: " << std::string(path.begin(), path.end());
    lastFolder = folder;
    EXPECT_NE(outside, path);
  }
  for (const std::wstring& seed : seeds) {
    std::wstring name = seed.substr(seed.rfind(L'\\') + 1);
    EXPECT_EQ(1, std::count(items.begin(), items.end(), ItemText(name, seed, 4)))
        << std::string(seed.begin(), seed.end());
  }
  return items;
}

TEST(SystemDrive, TheSystemDriveGivesItsSourcesAndNothingElse) {
  std::wstring favorites = test::ShellFolder(CSIDL_FAVORITES);
  ASSERT_TRUE(StartsWith(favorites, L"C:\\")) << "the prefix's Favorites folder should lie on C:";
  SystemFolders folders;
  std::vector<std::unique_ptr<cleaning_test::SeededFiles>> seeded;
  std::vector<std::wstring> seeds;
  const wchar_t* names[] = {L"cached.tmp", L"LUMASPAN.EXE-00000000.pf", L"setup.log", L"letter.lnk",
                            L"install.log", L"app.exe.1234.dmp", L"120926-01.dmp", L"Report.wer", L"Report.wer",
                            L"Report.wer", L"Report.wer"};
  for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i) {
    seeded.push_back(std::make_unique<cleaning_test::SeededFiles>(folders.paths[i]));
    seeds.push_back(seeded.back()->Write(std::wstring(L"lumaspan-junk\\") + names[i], "junk"));
  }
  cleaning_test::SeededFiles windows(folders.windows), profile(folders.profile);
  seeds.push_back(windows.Write(L"MEMORY.DMP", "junk"));
  seeds.push_back(profile.Write(L"lumaspan-junk\\~$Letter.DOCX", "junk"));
  for (const std::wstring& seed : seeds) Age(seed, 48);
  // Not junk: a temporary file of the last hour, what a dump folder holds beside its dumps, a
  // profile file of another name, an owner file in the user's documents.
  std::wstring fresh = seeded[2]->Write(L"lumaspan-junk\\fresh.log", "new!");
  Age(fresh, 1);
  std::wstring notADump = seeded[5]->Write(L"lumaspan-junk\\notes.txt", "keep");
  std::wstring profileFile = profile.Write(L"lumaspan-junk\\notes.txt", "keep");
  std::wstring inDocuments = profile.Write(L"lumaspan-documents\\~$Own.docx", "keep");
  cleaning_test::ShellFolderOverride documents(L"Personal", folders.profile + L"\\lumaspan-documents");
  test::ScratchFolder scratch;
  std::wstring outside = scratch.Write(L"outside.tmp", "junk");

  for (const wchar_t* drive : {L"C:\\", L"c:\\"}) {  // "c:\" is no other drive to walk for patterns
    std::vector<std::wstring> items = ExpectSystemWalk(drive, folders, seeds, outside);
    for (const std::wstring& decoy : {fresh, notADump, profileFile, inDocuments}) {
      EXPECT_EQ(0, std::count(items.begin(), items.end(), ItemText(decoy.substr(decoy.rfind(L'\\') + 1), decoy, 4)))
          << std::string(decoy.begin(), decoy.end());
    }
  }
  // A clean judges each file as the scan does.
  for (const std::wstring& decoy : {fresh, notADump, profileFile, inDocuments}) {
    size_t cut = decoy.rfind(L'\\') + 1;
    EXPECT_EQ(0, LitterbinCleanJunkFile(decoy.substr(cut).c_str(), decoy.substr(0, cut).c_str(), 0));
    EXPECT_TRUE(test::FileExists(decoy));
  }
  for (const std::wstring& seed : seeds) {
    size_t cut = seed.rfind(L'\\') + 1;
    EXPECT_EQ(1, LitterbinCleanJunkFile(seed.substr(cut).c_str(), seed.substr(0, cut).c_str(), 0))
        << std::string(seed.begin(), seed.end());
  }
}

TEST(SystemDrive, TheDriveOfTheFavoritesFolderIsTheSystemDrive) {
  test::ExtraDrive t(L'T');
  test::ExtraDrive u(L'U');
  t.MakeFolder(L"Favorites");
  t.Write(L"junk.tmp", "junk");
  std::wstring onU = u.Write(L"junk.tmp", "junk");
  SystemFolders folders;
  cleaning_test::SeededFiles recent(folders.paths[3]);
  std::wstring seed = recent.Write(L"lumaspan-junk\\seen.lnk", "link");
  cleaning_test::ShellFolderOverride moved(L"Favorites", L"T:\\Favorites");
  ASSERT_EQ(L"T:\\Favorites", test::ShellFolder(CSIDL_FAVORITES));

  ExpectSystemWalk(L"T:\\", folders, {seed}, L"T:\\junk.tmp");
  test::ReportRecorder recorder;
  EXPECT_EQ(std::vector<std::wstring>{ItemText(L"junk.tmp", onU, 4)}, JunkItems(recorder, L"U:\\"));
}

TEST(SystemDrive, WithoutAFavoritesPathOnADriveWindowsOwnDriveIsTheSystemDrive) {
  test::ExtraDrive t(L'T');
  std::wstring onT = t.Write(L"junk.tmp", "junk");
  SystemFolders folders;
  cleaning_test::SeededFiles recent(folders.paths[3]);
  std::wstring seed = recent.Write(L"lumaspan-junk\\seen.lnk", "link");
  cleaning_test::ShellFolderOverride moved(L"Favorites", L"\\\\lumaspan-nowhere\\share\\Favorites");
  std::wstring favorites = test::ShellFolder(CSIDL_FAVORITES);
  ASSERT_FALSE(favorites.size() >= 3 && favorites[1] == L':') << "the Favorites folder still lies on a drive";

  ExpectSystemWalk(L"C:\\", folders, {seed}, L"");
  test::ReportRecorder recorder;
  EXPECT_EQ(std::vector<std::wstring>{ItemText(L"junk.tmp", onT, 4)}, JunkItems(recorder, L"T:\\"));
}

// A deep tree: l1\l2\l3, three junk files on each level.
void WriteDeepTree(test::ExtraDrive& t) {
  for (const wchar_t* folder : {L"l1\\", L"l1\\l2\\", L"l1\\l2\\l3\\"})
    for (const wchar_t* file : {L"f1.tmp", L"f2.tmp", L"f3.tmp"}) t.Write(std::wstring(folder) + file, "x");
  t.Write(L"z\\after.tmp", "x");
}

TEST(JunkProtocol, AStopReplyEndsEvenADeepWalkAtOnce) {
  test::ExtraDrive t(L'T');
  WriteDeepTree(t);
  test::ReportRecorder recorder;
  size_t stopAt = SIZE_MAX;
  recorder.SetReplies([&stopAt](const test::Report& r, size_t index) {
    if (r.kind == report_kind::kJunkItem && r.text.find(L"\\l3\\") != std::wstring::npos && stopAt == SIZE_MAX)
      stopAt = index;
    return index == stopAt ? report_reply::kStop : report_reply::kGoOn;
  });
  LitterbinGetJunkFile(recorder.window(), L"T:\\");
  ASSERT_NE(SIZE_MAX, stopAt);
  EXPECT_EQ(stopAt + 1, recorder.reports().size());
}

TEST(JunkProtocol, AResendReplyHoldsTheScanAndLosesNothing) {
  test::ExtraDrive t(L'T');
  WriteDeepTree(t);
  test::ReportRecorder plain;
  std::vector<std::wstring> all = JunkItems(plain, L"T:\\");
  test::ReportRecorder held;
  held.SetReplies([](const test::Report&, size_t index) { return index % 5 == 1 ? report_reply::kResend : report_reply::kGoOn; });
  LitterbinGetJunkFile(held.window(), L"T:\\");
  std::vector<std::wstring> taken;
  for (const test::Report& r : held.reports())
    if (r.kind == report_kind::kJunkItem && r.reply == report_reply::kGoOn) taken.push_back(r.text);
  EXPECT_EQ(Sorted(all), Sorted(taken));
}

TEST(JunkProtocol, AScanFromAWorkerEndsWhenTheWindowGoes) {
  test::ExtraDrive t(L'T');
  for (int i = 0; i < 400; ++i) t.Write(L"many\\f" + std::to_wstring(i) + L".tmp", "x");
  auto recorder = std::make_unique<test::ReportRecorder>();
  HWND window = recorder->window();
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    LitterbinGetJunkFile(window, L"T:\\");
    ended = true;
  });
  ASSERT_TRUE(test::PumpUntil([&] { return recorder->reports().size() >= 20; }, 20000));
  recorder.reset();
  EXPECT_TRUE(test::PumpUntil([&] { return ended.load(); }, 10000));
  worker.join();
}

TEST(JunkScan, AFolderThatVanishesDuringTheWalkEndsOnlyItsOwnPart) {
  test::ExtraDrive t(L'T');
  for (const wchar_t* file : {L"v\\a.tmp", L"v\\b.tmp", L"v\\c.tmp", L"v\\sub\\d.tmp", L"v\\sub\\e.tmp"})
    t.Write(file, "x");
  std::wstring kept = t.Write(L"w\\kept.tmp", "x");
  test::ReportRecorder recorder;
  size_t removedAt = SIZE_MAX;
  recorder.SetReplies([&removedAt](const test::Report& r, size_t index) {
    if (removedAt == SIZE_MAX && r.kind == report_kind::kJunkItem && r.text.find(L"|T:\\v\\") != std::wstring::npos) {
      // The folder being listed goes; Windows may keep the emptied folder itself until the
      // walk lets go of it.
      test::DeleteTree(L"T:\\v");
      removedAt = index;
    }
    return report_reply::kGoOn;
  });
  std::vector<std::wstring> items = JunkItems(recorder, L"T:\\");
  ASSERT_NE(SIZE_MAX, removedAt);
  EXPECT_FALSE(test::FolderExists(L"T:\\v\\sub"));
  for (size_t i = removedAt + 1; i < recorder.reports().size(); ++i)
    EXPECT_EQ(std::wstring::npos, recorder.reports()[i].text.find(L"T:\\v\\sub\\"));
  EXPECT_EQ(1, std::count(items.begin(), items.end(), ItemText(L"kept.tmp", kept, 1)));
}

// Long paths: files whose full path has 259 to 261 characters are reported with their whole path;
// a folder is not searched once its search pattern ("folder\*.*") would reach 260 characters.
class LongPaths : public testing::Test {
 protected:
  static std::wstring Folder(size_t length) {
    std::wstring path = L"T:\\long" + std::to_wstring(length) + L"-";
    return path + std::wstring(length - path.size(), L'p');
  }
  static bool Make(const std::wstring& path, bool folder) {
    std::wstring nt = L"\\\\?\\" + path;
    if (folder) return CreateDirectoryW(nt.c_str(), nullptr) != 0;
    HANDLE h = CreateFileW(nt.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ::WriteFile(h, "abc", 3, &written, nullptr);
    CloseHandle(h);
    return true;
  }
  void TearDown() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      std::wstring nt = L"\\\\?\\" + it->first;
      if (it->second) {
        RemoveDirectoryW(nt.c_str());
      } else {
        DeleteFileW(nt.c_str());
      }
    }
  }
  std::wstring MakeFolder(size_t length) {
    std::wstring path = Folder(length);
    EXPECT_TRUE(Make(path, true));
    made_.emplace_back(path, true);
    return path;
  }
  std::wstring MakeFile(const std::wstring& folder, size_t pathLength, const wchar_t* suffix) {
    std::wstring path = folder + L"\\";
    path += std::wstring(pathLength - path.size() - wcslen(suffix), L'n') + suffix;
    EXPECT_TRUE(Make(path, false));
    made_.emplace_back(path, false);
    return path;
  }

  test::ExtraDrive t_{L'T'};
  std::vector<std::pair<std::wstring, bool>> made_;
};

TEST_F(LongPaths, AreReportedWholeAndFoldersTooLongToSearchAreSkipped) {
  std::wstring folder = MakeFolder(240);
  std::wstring p259 = MakeFile(folder, 259, L".tmp"), p260 = MakeFile(folder, 260, L".tmp");
  std::wstring p261 = MakeFile(folder, 261, L".tmp");
  std::wstring searched = MakeFolder(255);  // "\*.*" makes 259 characters
  std::wstring inSearched = MakeFile(searched, 261, L".old");
  std::wstring skipped = MakeFolder(256);  // 260: not searched
  MakeFile(skipped, 262, L".old");
  std::vector<std::wstring> expected;
  for (const std::wstring& p : {p259, p260, p261, inSearched})
    expected.push_back(ItemText(p.substr(p.rfind(L'\\') + 1), p, 3));
  test::ReportRecorder recorder;
  EXPECT_EQ(Sorted(expected), Sorted(JunkItems(recorder, L"T:\\")));

  // Cleaning takes the same paths: the 259-character one goes; whatever the system does with the
  // longer ones, nothing else is touched.
  EXPECT_EQ(1, LitterbinCleanJunkFile(p259.substr(folder.size() + 1).c_str(), (folder + L"\\").c_str(), 0));
  EXPECT_FALSE(test::FileExists(p259));
  LitterbinCleanJunkFile(p260.substr(folder.size() + 1).c_str(), (folder + L"\\").c_str(), 0);
  LitterbinCleanJunkFile(p261.substr(folder.size() + 1).c_str(), (folder + L"\\").c_str(), 0);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((L"\\\\?\\" + inSearched).c_str()));
}

TEST(JunkClean, DeletesTheFileTheTwoTextsName) {
  test::ExtraDrive t(L'T');
  std::wstring inside = t.Write(L"x\\a.tmp", "x");
  std::wstring beside = t.Write(L"xa.tmp", "y");
  std::wstring readOnly = t.Write(L"x\\ro.tmp", "z");
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(1, LitterbinCleanJunkFile(L"a.tmp", L"T:\\x", 0));  // no backslash: T:\xa.tmp
  EXPECT_FALSE(test::FileExists(beside));
  EXPECT_TRUE(test::FileExists(inside));
  EXPECT_EQ(1, LitterbinCleanJunkFile(L"a.tmp", L"T:\\x\\", 0));
  EXPECT_FALSE(test::FileExists(inside));
  EXPECT_EQ(1, LitterbinCleanJunkFile(L"ro.tmp", L"T:\\x\\", 0));
  EXPECT_FALSE(test::FileExists(readOnly));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"a.tmp", L"T:\\x\\", 0));  // gone already
  EXPECT_TRUE(test::FolderExists(L"T:\\x"));
}

// A scan's items, kept as the junk cleaner keeps them, clean back to exactly those files.
TEST(JunkClean, ReportedItemsCleanBackThroughThePagesLocation) {
  test::ExtraDrive t(L'T');
  WriteDeepTree(t);
  std::wstring notJunk = t.Write(L"l1\\keep.txt", "x");
  test::ReportRecorder recorder;
  std::vector<std::wstring> items = JunkItems(recorder, L"T:\\");
  ASSERT_EQ(10u, items.size());
  for (const std::wstring& item : items) {
    EXPECT_EQ(1, LitterbinCleanJunkFile(cleaning_test::ItemName(item).c_str(),
                                        cleaning_test::PageLocation(item).c_str(), 0));
  }
  test::ReportRecorder again;
  EXPECT_TRUE(JunkItems(again, L"T:\\").empty());
  EXPECT_TRUE(test::FileExists(notJunk));
}

TEST(JunkClean, BadRequestsDeleteNothing) {
  test::ExtraDrive t(L'T');
  std::wstring file = t.Write(L"x\\a.tmp", "x");
  std::wstring other = t.Write(L"y\\b.tmp", "x");
  t.MakeFolder(L"x\\sub.tmp");
  EXPECT_EQ(0, LitterbinCleanJunkFile(nullptr, L"T:\\x\\", 0));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"a.tmp", nullptr, 0));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"", L"T:\\x\\a.tmp", 0));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"a.tmp", L"", 0));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"a.tmp", L"x\\", 0));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"..\\y\\b.tmp", L"T:\\x\\", 0));
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"sub.tmp", L"T:\\x\\", 0));  // a folder is no file
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"*.tmp", L"T:\\x\\", 0));
  EXPECT_TRUE(test::FileExists(file));
  EXPECT_TRUE(test::FileExists(other));
  EXPECT_TRUE(test::FolderExists(L"T:\\x\\sub.tmp"));
}

TEST(JunkClean, AFileHeldOpenByAnotherProcessStays) {
  test::ExtraDrive t(L'T');
  std::wstring path = t.Write(L"held.tmp", "x");
  {
    cleaning_test::HeldFile held(path);
    ASSERT_TRUE(held.holding());
    EXPECT_EQ(0, LitterbinCleanJunkFile(L"held.tmp", L"T:\\", 0));
    EXPECT_TRUE(test::FileExists(path));
  }
  // Once let go of, the same request deletes it.
  EXPECT_TRUE(test::PumpUntil([] { return LitterbinCleanJunkFile(L"held.tmp", L"T:\\", 0) == 1; }, 5000));
}

TEST(JunkClean, ADrivesRecycleBinIsOneItemAndIsEmptiedWhole) {
  std::string why;
  if (!cleaning_test::PrivateRecycleBin(&why)) GTEST_SKIP() << "Recycle Bin left alone: " << why;
  test::ExtraDrive t(L'T');
  // Files only: Wine neither sizes nor empties a folder in its bin.
  t.Write(L"a.txt", "12345");
  t.Write(L"b.dat", "abc");
  ASSERT_TRUE(cleaning_test::Recycle(L"T:\\a.txt") && cleaning_test::Recycle(L"T:\\b.dat"));
  ASSERT_FALSE(test::FileExists(L"T:\\a.txt") || test::FileExists(L"T:\\b.dat"));
  SHQUERYRBINFO bin = {};
  bin.cbSize = sizeof(bin);
  ASSERT_TRUE(SUCCEEDED(SHQueryRecycleBinW(L"T:\\", &bin)) && bin.i64NumItems > 0) << "nothing went to the bin";
  test::ReportRecorder recorder;
  EXPECT_EQ(std::vector<std::wstring>{ItemText(L"Recycle Bin", L"T:\\Recycle Bin", bin.i64Size)},
            JunkItems(recorder, L"T:\\"));

  EXPECT_EQ(0, LitterbinCleanJunkFile(L"Recycle Bin", L"T:\\a\\", 0));  // a file of that name: none
  EXPECT_EQ(1, LitterbinCleanJunkFile(L"Recycle Bin", L"T:\\", 0));
  ASSERT_TRUE(SUCCEEDED(SHQueryRecycleBinW(L"T:\\", &bin)));
  EXPECT_EQ(0, bin.i64NumItems);
  test::ReportRecorder again;
  EXPECT_TRUE(JunkItems(again, L"T:\\").empty());
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"Recycle Bin", L"T:\\", 0));  // nothing left to remove
}

}  // namespace

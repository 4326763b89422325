// The guard of both cleaning engines: shell folders and temporary folders pointed at a drive, the
// Windows folder, the profile or the user's documents, in any spelling or as nonsense, give no
// scan and no clean; a junk scan never pattern-walks the Windows drive; names ending in a dot go
// exactly.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "contracts/litterbin.h"
#include "contracts/messages.h"
#include "contracts/tracewipe.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

// The items of one trace category; the first item ends the scan, so a fault never walks a drive.
std::vector<std::wstring> FirstItems(int group, int index) {
  test::ReportRecorder recorder;
  recorder.SetReplies([](const test::Report& r, size_t) {
    return r.kind == report_kind::kTraceItem ? report_reply::kStop : report_reply::kGoOn;
  });
  TracewipeGetEvidenceFile(recorder.window(), group, 1, index);
  return recorder.TextsOfKind(report_kind::kTraceItem);
}

std::wstring ShortName(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : path;
}

std::wstring Upper(std::wstring s) {
  CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

struct Redirect {
  const wchar_t* shellFolder;  // nullptr: the temporary folder (TMP and TEMP)
  int group, index;
};
const Redirect kRedirects[] = {{L"Recent", 0, 0}, {nullptr, 0, 3}, {L"Cookies", 1, 14}, {L"Cache", 1, 17}};

TEST(Guard, FoldersPointedAtProtectedPlacesOrNonsenseGiveNoScanAndNoClean) {
  const std::wstring windows = test::ShellFolder(CSIDL_WINDOWS), profile = test::ShellFolder(CSIDL_PROFILE);
  const std::wstring documents = test::ShellFolder(CSIDL_PERSONAL);
  ASSERT_FALSE(windows.empty());
  // No junk name: below the profile a ".tmp" is junk wherever it lies; what is tried here is
  // whether a redirected folder makes a place cleanable as a whole.
  cleaning_test::SeededFiles planted(windows);
  std::wstring file = planted.Write(L"lumaspan-guard.dat", "x");
  cleaning_test::SeededFiles inProfile(profile);
  std::wstring profileFile = inProfile.Write(L"lumaspan-guard.dat", "x");
  const std::wstring places[] = {L"C:\\", windows, profile, documents, Upper(windows), windows + L"\\..\\" +
                                 windows.substr(3) + L"\\", ShortName(windows), windows + L".",
                                 L"", L"C:", L"C:\\\\", L"\\\\server\\share", L"relative\\folder",
                                 windows + L"\\System32\\..", L"C:\\" + std::wstring(300, L'p'),
                                 L"\\\\?\\" + windows, L"\\\\.\\" + windows};
  for (const Redirect& r : kRedirects) {
    for (const std::wstring& place : places) {
      std::string where(place.begin(), place.end());
      std::unique_ptr<cleaning_test::ShellFolderOverride> folder;
      std::unique_ptr<cleaning_test::TemporaryFolderOverride> temp;
      if (r.shellFolder) {
        folder = std::make_unique<cleaning_test::ShellFolderOverride>(r.shellFolder, place);
      } else {
        temp = std::make_unique<cleaning_test::TemporaryFolderOverride>(place);
      }
      EXPECT_TRUE(FirstItems(r.group, r.index).empty()) << r.index << " at " << where;
      std::wstring location = place.empty() || place.back() == L'\\' ? place : place + L"\\";
      EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"lumaspan-guard.dat", location.c_str())) << where;
      EXPECT_EQ(0, LitterbinCleanJunkFile(L"lumaspan-guard.dat", location.c_str(), 0)) << where;
    }
  }
  EXPECT_TRUE(test::FileExists(file));
  EXPECT_TRUE(test::FileExists(profileFile));
}

// Favorites on another drive leaves the Windows drive a system drive: its four folders only.
TEST(Guard, TheWindowsDriveIsNeverPatternWalked) {
  test::ExtraDrive t(L'T');
  t.MakeFolder(L"Favorites");
  cleaning_test::ShellFolderOverride favorites(L"Favorites", L"T:\\Favorites");
  cleaning_test::SeededFiles planted(test::ShellFolder(CSIDL_WINDOWS));
  std::wstring file = planted.Write(L"lumaspan-guard.tmp", "x");
  test::ReportRecorder recorder;
  LitterbinGetJunkFile(recorder.window(), L"C:\\");
  for (const std::wstring& item : recorder.TextsOfKind(report_kind::kJunkItem)) {
    EXPECT_EQ(std::wstring::npos, item.find(L"lumaspan-guard.tmp"));
  }
  std::wstring folder = file.substr(0, file.rfind(L'\\') + 1);
  EXPECT_EQ(0, LitterbinCleanJunkFile(L"lumaspan-guard.tmp", folder.c_str(), 0));
  EXPECT_TRUE(test::FileExists(file));
}

// A link the build plants beside the test binaries, leading to the Windows folder.
TEST(Guard, AFolderThatIsALinkToTheWindowsFolderIsRefused) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring link = self;
  link = link.substr(0, link.rfind(L'\\')) + L"\\cleaning_links\\windows";
  ASSERT_TRUE(test::FolderExists(link + L"\\system32")) << "the planted link is missing";
  cleaning_test::ShellFolderOverride recent(L"Recent", link);
  EXPECT_TRUE(FirstItems(0, 0).empty());
  cleaning_test::TemporaryFolderOverride temp(link);
  EXPECT_TRUE(FirstItems(0, 3).empty());
}

// A name ending in a dot is another file than the name without it: the clean takes exactly it.
TEST(Guard, ATrailingDotNameRemovesExactlyThatFile) {
  test::ScratchFolder dir;
  cleaning_test::TemporaryFolderOverride temp(dir.path());
  std::wstring plain = dir.Write(L"abc", "plain");
  HANDLE dotted = CreateFileW((L"\\\\?\\" + dir.path() + L"\\abc.").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                              nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, dotted);
  CloseHandle(dotted);
  EXPECT_EQ(1, TracewipeCleanEvidenceFile(L"abc.", (dir.path() + L"\\").c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((L"\\\\?\\" + dir.path() + L"\\abc.").c_str()));
  EXPECT_TRUE(test::FileExists(plain));
}

}  // namespace

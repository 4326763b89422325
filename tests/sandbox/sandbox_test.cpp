// The test sandbox itself: no drive reaches the host, and the support classes leave the prefix as
// they found it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "tests/support/message_box_watcher.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

TEST(Sandbox, NoDriveReachesTheHost) {
  DWORD drives = GetLogicalDrives();
  EXPECT_FALSE(drives & (1u << ('Z' - 'A')));
  EXPECT_EQ(static_cast<UINT>(DRIVE_NO_ROOT_DIR), GetDriveTypeW(L"Z:\\"));
  EXPECT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeW(L"C:\\"));
  EXPECT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeW(L"T:\\"));
  EXPECT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeW(L"U:\\"));
  for (int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_FAVORITES, CSIDL_LOCAL_APPDATA}) {
    std::wstring path = test::ShellFolder(csidl);
    ASSERT_GE(path.size(), 3u) << csidl;
    EXPECT_EQ(L"C:\\", path.substr(0, 3)) << csidl;
  }
}

TEST(MessageBoxWatcher, AnswersAndRecordsEachBox) {
  test::MessageBoxWatcher watcher;
  watcher.Answer({IDCANCEL});
  EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"Are you sure?", L"Lumaspan", MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"Done.", L"KeepLumaspan", MB_ICONINFORMATION));
  auto seen = watcher.seen();
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(L"Lumaspan", seen[0].caption);
  EXPECT_EQ(L"Are you sure?", seen[0].text);
  EXPECT_EQ(IDCANCEL, seen[0].pressed);
  EXPECT_EQ(L"KeepLumaspan", seen[1].caption);
  EXPECT_EQ(L"Done.", seen[1].text);
}

TEST(RegistrySandbox, PutsBackExactlyWhatWasThere) {
  const std::wstring path = L"Software\\Lumaspan Software\\Test\\Sandbox";
  test::DeleteKeyTree(HKEY_CURRENT_USER, path);
  // A key that exists before the test, seeded by hand.
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (path + L"\\sub").c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  DWORD seven = 7;
  RegSetValueExW(key, L"n", 0, REG_DWORD, reinterpret_cast<BYTE*>(&seven), 4);
  RegCloseKey(key);
  {
    test::RegistrySandbox sandbox(HKEY_CURRENT_USER, path);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, path));  // out of the way during the test
    sandbox.SetString(L"other", L"v", L"x");
  }
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, path + L"\\other"));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), test::ValueType(HKEY_CURRENT_USER, path + L"\\sub", L"n"));
  auto raw = test::ReadRaw(HKEY_CURRENT_USER, path + L"\\sub", L"n");
  ASSERT_EQ(4u, raw.size());
  EXPECT_EQ(7, raw[0]);
  test::DeleteKeyTree(HKEY_CURRENT_USER, path);
}

TEST(RegistrySandbox, RemovesTheEmptyParentsItsTestCreated) {
  const std::wstring top = L"Software\\LumaspanSandboxParent";
  test::DeleteKeyTree(HKEY_CURRENT_USER, top);
  {
    test::RegistrySandbox kept(HKEY_CURRENT_USER, top + L"\\Kept\\Leaf");
    test::RegistrySandbox gone(HKEY_CURRENT_USER, top + L"\\Middle\\Leaf");
    kept.SetString(L"", L"v", L"x");
    gone.SetString(L"", L"v", L"x");
    HKEY key;  // something a test put beside its sandbox stays, and so do its parents
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (top + L"\\Kept\\Other").c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
  }
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, top + L"\\Middle"));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, top + L"\\Kept\\Other"));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, top + L"\\Kept\\Leaf"));
  test::DeleteKeyTree(HKEY_CURRENT_USER, top);
}

TEST(ScratchFolder, IsRemovedWithEverythingInIt) {
  std::wstring where;
  {
    test::ScratchFolder dir;
    where = dir.path();
    std::wstring file = dir.Write(L"a\\b\\c.txt", "hello");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(test::FileExists(file));
  }
  EXPECT_FALSE(test::FolderExists(where));
}

TEST(ScratchFolder, RefusesToDeleteOutsideTheScratchPlaces) {
  EXPECT_NONFATAL_FAILURE(test::DeleteTree(L"C:\\windows\\nothing-here"), "refusing");
  EXPECT_NONFATAL_FAILURE(test::DeleteTree(L"C:\\LumaspanScratchX\\a"), "refusing");
}

TEST(ExtraDrive, StartsEmptyAndIsEmptiedAfter) {
  {
    test::ExtraDrive drive(L'U');
    ASSERT_TRUE(drive.present());
    drive.Write(L"deep\\x.tmp", "1");
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(L"U:\\*", &data);
  int entries = 0;
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) ++entries;
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  EXPECT_EQ(0, entries);
}

}  // namespace

// Tools.dll, loaded as the program loads it.
#include "contracts/tools.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "contracts/messages.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

bool RunningAsXp() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.size() > 7 && _wcsicmp(p.c_str() + p.size() - 7, L"_xp.exe") == 0;
}

TEST(CheckWindowsVersion, ReportsTheGenerationOfTheRunningWindows) {
  EXPECT_EQ(RunningAsXp() ? 5 : 6, CheckWindowsVersion());
}

TEST(DeleteFileType, DeletesPlainAndReadOnlyFiles) {
  test::ScratchFolder dir;
  std::wstring plain = dir.Write(L"plain.txt", "x");
  std::wstring locked = dir.Write(L"readonly.txt", "y");
  ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(0, DeleteFileType(plain.c_str(), 0));
  EXPECT_NE(0, DeleteFileType(locked.c_str(), 0));
  EXPECT_FALSE(test::FileExists(plain));
  EXPECT_FALSE(test::FileExists(locked));
  std::wstring other = dir.Write(L"mode7.txt", "z");  // any mode behaves as 0
  EXPECT_NE(0, DeleteFileType(other.c_str(), 7));
  EXPECT_FALSE(test::FileExists(other));
}

TEST(DeleteFileType, FailsWithoutHarmOnBadInput) {
  test::ScratchFolder dir;
  std::wstring folder = dir.MakeFolder(L"sub");
  EXPECT_EQ(0, DeleteFileType(nullptr, 0));
  EXPECT_EQ(0, DeleteFileType(L"", 0));
  EXPECT_EQ(0, DeleteFileType((dir / L"missing.txt").c_str(), 0));
  EXPECT_EQ(0, DeleteFileType(folder.c_str(), 0));
  EXPECT_TRUE(test::FolderExists(folder));
}

TEST(DeleteFileType, AFileHeldOpenStaysAsItWas) {
  test::ScratchFolder dir;
  std::wstring path = dir.Write(L"held.txt", "data");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(0, DeleteFileType(path.c_str(), 0));
  CloseHandle(held);
  EXPECT_TRUE(test::FileExists(path));
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DeleteFileType, PathsAroundMaxPath) {
  test::ScratchFolder dir;
  // The longest path the plain API takes is 259 characters; 260 and 261 must fail cleanly.
  for (size_t length : {259u, 260u, 261u}) {
    std::wstring path = dir.path() + L"\\";
    path += std::wstring(length - path.size() - 4, L'a') + L".txt";
    ASSERT_EQ(length, path.size());
    bool made = test::WriteFile(path, "x");
    int deleted = DeleteFileType(path.c_str(), 0);
    if (made) {
      EXPECT_NE(0, deleted) << length;
      EXPECT_FALSE(test::FileExists(path));
    } else {
      EXPECT_EQ(0, deleted) << length;
    }
    if (length == 259) {
      EXPECT_TRUE(made);
    }
  }
}

TEST(GetRandNumber, IsUniformOverZeroToNine) {
  std::vector<int> counts(10, 0);
  const int kDraws = 20000;
  for (int i = 0; i < kDraws; ++i) {
    int r = GetRandNumber();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 9);
    ++counts[r];
  }
  for (int c : counts) {  // expected 2000 each, standard deviation about 42
    EXPECT_GT(c, 1750);
    EXPECT_LT(c, 2250);
  }
}

TEST(GetRandNumber, IsSafeFromManyThreads) {
  std::vector<std::thread> threads;
  std::vector<int> ones(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&ones, t] {
      for (int i = 0; i < 5000; ++i)
        if (GetRandNumber() == 1) ++ones[t];
    });
  for (auto& t : threads) t.join();
  for (int n : ones) {
    EXPECT_GT(n, 380);
    EXPECT_LT(n, 620);
  }
}

TEST(GetNowShowTimeString, GreetsByTheLocalHourWithinTheBuffer) {
  wchar_t buffer[120];
  for (auto& c : buffer) c = L'#';
  buffer[0] = L'\0';
  SYSTEMTIME before;
  GetLocalTime(&before);
  GetNowShowTimeString(buffer);
  SYSTEMTIME after;
  GetLocalTime(&after);
  std::wstring text = buffer;
  auto greeting = [](int hour) {
    return std::wstring(hour < 12 ? L"Good morning" : hour < 18 ? L"Good afternoon" : L"Good evening");
  };
  EXPECT_TRUE(text == greeting(before.wHour) || text == greeting(after.wHour)) << text.size();
  EXPECT_EQ(L'#', buffer[100]);  // nothing written past the 100 characters
  EXPECT_EQ(0, GetNowShowTimeString(nullptr));
}

TEST(LockMenu, LocksAndUnlocksTheTopLevelWindowOfAPage) {
  test::ReportRecorder main(test::ReportRecorder::Style::TopLevel);
  HWND page = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, main.window(), nullptr, nullptr, nullptr);
  HWND inner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, page, nullptr, nullptr, nullptr);
  ASSERT_TRUE(inner);
  LockMenu(inner, 1);
  LockMenu(page, 0);
  LockMenu(main.window(), 1);
  ASSERT_EQ(3u, main.reports().size());
  EXPECT_EQ(report_kind::kMenuLock, main.reports()[0].kind);    // flag 1 locks: dwData 0
  EXPECT_EQ(report_kind::kMenuUnlock, main.reports()[1].kind);  // flag 0 unlocks: dwData 1
  EXPECT_EQ(report_kind::kMenuLock, main.reports()[2].kind);
  EXPECT_EQ(0, LockMenu(nullptr, 1));
  DestroyWindow(page);
}

struct SizeCase {
  unsigned long long bytes;
  const wchar_t* text;
};

TEST(MakeFileSize, FormatsThreeFiguresTruncated) {
  const SizeCase cases[] = {
      {0, L"0 bytes"},           {1, L"1 bytes"},
      {512, L"512 bytes"},       {1023, L"1023 bytes"},
      {1024, L"1.00 KB"},        {1536, L"1.50 KB"},
      {2047, L"1.99 KB"},        {10 * 1024, L"10.0 KB"},
      {1048575, L"1023 KB"},     {1048576, L"1.00 MB"},
      {12897485, L"12.3 MB"},    {4ull << 30, L"4.00 GB"},
      {(5ull << 30) + 1, L"5.00 GB"}, {500ull << 30, L"500 GB"},
      {3ull << 40, L"3.00 TB"},  {~0ull, L"15.9 EB"},
  };
  for (const SizeCase& c : cases) {
    wchar_t buffer[260] = {};
    MakeFileSize(static_cast<DWORD>(c.bytes), static_cast<DWORD>(c.bytes >> 32), buffer);
    EXPECT_EQ(std::wstring(c.text), std::wstring(buffer)) << c.bytes;
  }
  EXPECT_EQ(0, MakeFileSize(1, 0, nullptr));
}

TEST(CheckRegistryKey, CreatesTheKeyAndSetsTheValue) {
  const std::wstring path = L"Software\\Lumaspan Software\\KeepLumaspan Test";
  test::RegistrySandbox sandbox(HKEY_CURRENT_USER, path);
  EXPECT_EQ(1, CheckRegistryKey(path.c_str(), L"SystemStatus", L"1000"));
  EXPECT_EQ(REG_SZ, test::ValueType(HKEY_CURRENT_USER, path, L"SystemStatus"));
  EXPECT_EQ(L"1000", test::ReadString(HKEY_CURRENT_USER, path, L"SystemStatus"));
  EXPECT_EQ(1, CheckRegistryKey(path.c_str(), L"SystemStatus", L"42"));
  EXPECT_EQ(L"42", test::ReadString(HKEY_CURRENT_USER, path, L"SystemStatus"));
  std::wstring longText(10000, L'x');
  EXPECT_EQ(1, CheckRegistryKey(path.c_str(), L"Long", longText.c_str()));
  EXPECT_EQ(longText, test::ReadString(HKEY_CURRENT_USER, path, L"Long"));
  EXPECT_EQ(1, CheckRegistryKey(path.c_str(), L"Empty", nullptr));
  EXPECT_EQ(REG_SZ, test::ValueType(HKEY_CURRENT_USER, path, L"Empty"));
  EXPECT_EQ(L"", test::ReadString(HKEY_CURRENT_USER, path, L"Empty"));
}

TEST(CheckRegistryKey, RefusesAMissingKeyName) {
  EXPECT_EQ(0, CheckRegistryKey(nullptr, L"a", L"b"));
  EXPECT_EQ(0, CheckRegistryKey(L"", L"a", L"b"));
  EXPECT_EQ(L"", test::ReadString(HKEY_CURRENT_USER, L"", L"a"));
}

}  // namespace

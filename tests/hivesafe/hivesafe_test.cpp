// Hivesafe.dll, loaded as the program loads it, with the real registry editor, in a scratch
// program folder. A whole-registry export takes seconds, so only two cases make one; restores merge
// small files written here.
#include "contracts/hivesafe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handles.h"
#include "engines/hivesafe/backup_stamp.h"
#include "tests/support/program_folder.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

const wchar_t kFirst[] = L"Backup\\Registry\\FirstBackup";
const wchar_t kFull[] = L"Backup\\Registry\\FullBackup";
const wchar_t kTestKey[] = L"Software\\Lumaspan Software\\Test\\Hivesafe";

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(find.get(), &found));
  return names;
}

// The whole file as UTF-16 text, as the registry editor writes it.
std::wstring ReadUtf16(const std::wstring& path) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::wstring();
  DWORD size = GetFileSize(file.get(), nullptr), got = 0;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!ReadFile(file.get(), &text[0], size, &got, nullptr)) return std::wstring();
  return text;
}

// A registry file of the editor's own format that sets one value of the test key.
void WriteRegFile(const std::wstring& path, const std::wstring& restored) {
  std::wstring text = L"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\";
  text += kTestKey;
  text += L"]\r\n\"Restored\"=\"" + restored + L"\"\r\n";
  ASSERT_TRUE(test::WriteFile(path, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
}

std::wstring Restored() { return test::ReadString(HKEY_CURRENT_USER, kTestKey, L"Restored"); }

// The stamps of the next few seconds of local time, the present one first.
std::vector<std::wstring> StampsFromNow(int seconds) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME start;
  SystemTimeToFileTime(&now, &start);
  std::vector<std::wstring> stamps;
  for (int i = 0; i < seconds; ++i) {
    ULARGE_INTEGER t = {{start.dwLowDateTime, start.dwHighDateTime}};
    t.QuadPart += ULONGLONG(i) * 10000000;
    FILETIME at = {t.LowPart, t.HighPart};
    SYSTEMTIME local;
    FileTimeToSystemTime(&at, &local);
    stamps.push_back(hivesafe::FormatBackupStamp(local));
  }
  return stamps;
}

TEST(BackupStamp, IsFourteenDigitsOfTheLocalTime) {
  SYSTEMTIME t = {2026, 12, 0, 6, 18, 31, 7, 0};
  EXPECT_EQ(L"20261206183107", hivesafe::FormatBackupStamp(t));
  t = {2000, 1, 6, 1, 0, 0, 0, 0};
  EXPECT_EQ(L"20000101000000", hivesafe::FormatBackupStamp(t));  // midnight is 00, not 12
  t = {1999, 12, 5, 31, 23, 59, 59, 999};
  EXPECT_EQ(L"19991231235959", hivesafe::FormatBackupStamp(t));
  std::wstring now = hivesafe::BackupStampNow();
  EXPECT_EQ(14u, now.size());
  EXPECT_TRUE(std::all_of(now.begin(), now.end(), iswdigit));
}

TEST(HivesafeCheckIfFirst, CountsOnlyFilesEndingInLowerCaseReg) {
  {
    test::ProgramFolder bare(test::ProgramFolder::Layout::Bare);
    EXPECT_EQ(0, HivesafeCheckIfFirst());
  }
  test::ProgramFolder program;
  EXPECT_EQ(0, HivesafeCheckIfFirst());
  program.scratch().Write(std::wstring(kFirst) + L"\\notes.txt", "x");
  program.scratch().MakeFolder(std::wstring(kFirst) + L"\\20261206183100.reg");
  program.scratch().Write(std::wstring(kFirst) + L"\\20261206183107.REG", "x");
  program.scratch().Write(std::wstring(kFull) + L"\\20261206183108.reg", "x");
  EXPECT_EQ(0, HivesafeCheckIfFirst());
  program.scratch().Write(std::wstring(kFirst) + L"\\20261206183109.reg", "x");
  EXPECT_EQ(1, HivesafeCheckIfFirst());
}

TEST(HivesafeBackup, FirstBackupThenLaterOnesExportTheWholeRegistry) {
  test::RegistrySandbox marker(HKEY_CURRENT_USER, kTestKey);
  marker.SetString(L"", L"Marker", L"exported-7f3a");
  test::ProgramFolder program;
  std::wstring before = hivesafe::BackupStampNow();
  ASSERT_EQ(0, HivesafeCheckIfFirst());
  EXPECT_EQ(1, HivesafeBackup(0));
  std::wstring after = hivesafe::BackupStampNow();
  std::vector<std::wstring> first = FilesIn(program / kFirst);
  ASSERT_EQ(1u, first.size());
  const std::wstring& name = first[0];
  ASSERT_EQ(18u, name.size());
  EXPECT_EQ(L".reg", name.substr(14));
  EXPECT_GE(name.substr(0, 14), before);
  EXPECT_LE(name.substr(0, 14), after);
  std::wstring exported = ReadUtf16(program / kFirst + L"\\" + name);
  EXPECT_EQ(0u, exported.find(L"\uFEFFWindows Registry Editor Version 5.00"));
  EXPECT_NE(std::wstring::npos, exported.find(L"exported-7f3a"));
  EXPECT_NE(std::wstring::npos, exported.find(L"[HKEY_LOCAL_MACHINE\\"));

  ASSERT_EQ(1, HivesafeCheckIfFirst());
  EXPECT_EQ(1, HivesafeBackup(1));
  EXPECT_EQ(1u, FilesIn(program / kFull).size());
  EXPECT_EQ(first, FilesIn(program / kFirst));
}

TEST(HivesafeBackup, ReportsFailureWhenNoFileWasWritten) {
  {
    test::ProgramFolder bare(test::ProgramFolder::Layout::Bare);
    EXPECT_EQ(0, HivesafeBackup(0));
    EXPECT_EQ(0, HivesafeBackup(1));
    EXPECT_FALSE(test::FolderExists(bare / L"Backup"));  // nothing made on the way
  }
  test::ProgramFolder program;
  ASSERT_TRUE(RemoveDirectoryW((program / kFull).c_str()));
  EXPECT_EQ(0, HivesafeBackup(1));
  EXPECT_TRUE(FilesIn(program / kFirst).empty());
  // The editor runs but cannot write: folders stand where its file would go.
  for (const std::wstring& stamp : StampsFromNow(8)) program.scratch().MakeFolder(std::wstring(kFirst) + L"\\" + stamp + L".reg");
  EXPECT_EQ(0, HivesafeBackup(0));
  EXPECT_TRUE(FilesIn(program / kFirst).empty());
}

TEST(HivesafeRestore, MergesTheNamedFileOfEitherFolder) {
  test::RegistrySandbox target(HKEY_CURRENT_USER, kTestKey);
  test::ProgramFolder program;
  WriteRegFile(program / kFull + L"\\my backup.reg", L"full");
  WriteRegFile(program / kFirst + L"\\20261206183107.reg", L"first");
  WriteRegFile(program / kFull + L"\\20261206183108.REG", L"upper");
  SharedString name(L"my backup.reg");
  EXPECT_EQ(1, HivesafeRestore(1, name));
  EXPECT_EQ(1, name.references());  // the argument's own reference was released
  EXPECT_EQ(L"full", Restored());
  EXPECT_EQ(1, HivesafeRestore(0, SharedString(L"20261206183107.reg")));
  EXPECT_EQ(L"first", Restored());
  EXPECT_EQ(1, HivesafeRestore(1, SharedString(L"20261206183108.REG")));
  EXPECT_EQ(L"upper", Restored());
}

TEST(HivesafeRestore, RefusesNamesThatAreNotBackupFilesOfTheFolder) {
  test::RegistrySandbox target(HKEY_CURRENT_USER, kTestKey);
  test::ProgramFolder program;
  WriteRegFile(program / kFull + L"\\notes.txt", L"not a backup");
  WriteRegFile(program / kFirst + L"\\20261206183107.reg", L"other folder");
  WriteRegFile(program / L"outside.reg", L"outside");
  std::wstring absolute = program / kFirst + L"\\20261206183107.reg";
  for (const wchar_t* name : {L"notes.txt", L"missing.reg", L"..\\FirstBackup\\20261206183107.reg", L"*.reg", L"",
                              L"..\\..\\..\\outside.reg", absolute.c_str(), L"20261206183107.reg\" /s \"x.reg"}) {
    EXPECT_EQ(0, HivesafeRestore(1, SharedString(name))) << name;
  }
  EXPECT_EQ(0, HivesafeRestore(1, SharedString()));
  EXPECT_EQ(0, HivesafeRestore(0, SharedString(L"notes.txt")));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kTestKey, L"Restored"));
}

// The editor exits with success whatever it imported: a file whose values did not arrive is no
// restore.
TEST(HivesafeRestore, AFileThatWasNotMergedIsAFailure) {
  test::RegistrySandbox target(HKEY_CURRENT_USER, kTestKey);
  test::ProgramFolder program;
  std::wstring damaged = L"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\";
  damaged += kTestKey;
  damaged += L"\r\n\"Restored\"=\"dam";
  ASSERT_TRUE(test::WriteFile(program / kFull + L"\\20261206183107.reg",
                              std::string(reinterpret_cast<const char*>(damaged.data()), damaged.size() * 2)));
  ASSERT_TRUE(test::WriteFile(program / kFull + L"\\20261206183108.reg", "a text of another program\r\n"));
  EXPECT_EQ(0, HivesafeRestore(1, SharedString(L"20261206183107.reg")));
  EXPECT_EQ(0, HivesafeRestore(1, SharedString(L"20261206183108.reg")));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kTestKey, L"Restored"));
}

TEST(HivesafeRemove, DeletesOnlyTheNamedBackupFileOfFullBackup) {
  test::ProgramFolder program;
  std::wstring spaced = program.scratch().Write(std::wstring(kFull) + L"\\my backup.reg", "x");
  std::wstring upper = program.scratch().Write(std::wstring(kFull) + L"\\20261206183108.REG", "x");
  std::wstring notes = program.scratch().Write(std::wstring(kFull) + L"\\notes.txt", "x");
  std::wstring first = program.scratch().Write(std::wstring(kFirst) + L"\\20261206183107.reg", "x");
  std::wstring folder = program.scratch().MakeFolder(std::wstring(kFull) + L"\\folder.reg");
  for (const wchar_t* name : {L"missing.reg", L"", L"*.reg", L"*", L"..\\FirstBackup\\20261206183107.reg", L"notes.txt",
                              L"folder.reg", L"20261206183107.reg"}) {
    EXPECT_EQ(0, HivesafeRemove(SharedString(name))) << name;
  }
  EXPECT_EQ(0, HivesafeRemove(SharedString()));
  for (const std::wstring& kept : {spaced, upper, notes, first}) EXPECT_TRUE(test::FileExists(kept)) << kept;
  EXPECT_TRUE(test::FolderExists(folder));

  SharedString name(L"my backup.reg");
  EXPECT_EQ(1, HivesafeRemove(name));
  EXPECT_EQ(1, name.references());
  EXPECT_FALSE(test::FileExists(spaced));
  EXPECT_EQ(1, HivesafeRemove(SharedString(L"20261206183108.REG")));
  EXPECT_FALSE(test::FileExists(upper));
  EXPECT_EQ(0, HivesafeRemove(SharedString(L"my backup.reg")));  // already gone
  EXPECT_TRUE(test::FolderExists(program / kFull));
}

}  // namespace

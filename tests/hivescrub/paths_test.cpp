// Path judgement: what the engine takes a registry entry to point at, and when it may call that
// missing. Anything it cannot verify must come out unknown, never missing.
#include "paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/scratch.h"

namespace {

using hivescrub::PathJudge;
using hivescrub::Presence;

std::wstring Windows() {
  wchar_t path[MAX_PATH] = {};
  GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

TEST(PathJudge, CommandLinesAreJudgedByTheirProgram) {
  test::ScratchFolder files;
  std::wstring exe = files.Write(L"Some Folder\\app.exe", "MZ");
  std::wstring gone = files / L"Some Folder\\gone.exe";
  PathJudge judge;
  EXPECT_EQ(Presence::kPresent, judge.Program(L"\"" + exe + L"\" /min -x", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Program(L"  " + exe + L" /min", false).presence) << "unquoted with spaces";
  EXPECT_EQ(Presence::kPresent, judge.Program(files / L"Some Folder\\app", false).presence) << ".exe is implied";
  auto missing = judge.Program(L"\"" + gone + L"\" /min", false);
  EXPECT_EQ(Presence::kMissing, missing.presence);
  EXPECT_EQ(gone, missing.path);
  auto unquoted = judge.Program(gone + L" /min", false);
  EXPECT_EQ(Presence::kMissing, unquoted.presence);
  EXPECT_EQ(gone, unquoted.path) << "the candidate that names a program is shown";
  EXPECT_EQ(Presence::kMissing, judge.Program(L"\"" + gone, false).presence) << "an unclosed quote";
}

TEST(PathJudge, EnvironmentStringsAndSystemPrefixesAreExpanded) {
  PathJudge judge;
  EXPECT_EQ(Presence::kPresent, judge.Program(L"%SystemRoot%\\notepad.exe %1", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Program(L"\\SystemRoot\\notepad.exe", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.ServiceImage(L"system32\\svchost.exe -k netsvcs", false).presence);
  auto relative = judge.ServiceImage(L"system32\\lumaspan-gone.exe", false);
  EXPECT_EQ(Presence::kMissing, relative.presence);
  EXPECT_EQ(Windows() + L"\\system32\\lumaspan-gone.exe", relative.path);
  EXPECT_EQ(Presence::kMissing, judge.Program(L"\\??\\" + Windows() + L"\\lumaspan-gone.exe", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.Program(L"%LUMASPAN_NO_SUCH_VARIABLE%\\app.exe", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.Program(L"\"%1\" %*", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.Program(L"\"%1\"", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Program(L"%SystemRoot%\\notepad.exe \"%1\" %*", false).presence);
  EXPECT_EQ(Presence::kMissing,
            judge.Program(L"\"%SystemRoot%\\lumaspan-gone.exe\" \"%1\" %* %LUMASPAN_NO_SUCH%", false).presence);
}

TEST(PathJudge, BareNamesAreSearchedWhereWindowsLooks) {
  PathJudge judge;
  EXPECT_EQ(Presence::kPresent, judge.Program(L"notepad", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Program(L"regedit.exe /s x.reg", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Program(L"cmd.exe /c exit", false).presence);
  EXPECT_EQ(Presence::kMissing, judge.Program(L"lumaspan-no-such-program.exe /x", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.File(L"tahoma.ttf", false, {Windows() + L"\\Fonts"}).presence);
}

TEST(PathJudge, Rundll32CommandsAreJudgedByTheirDll) {
  test::ScratchFolder files;
  PathJudge judge;
  EXPECT_EQ(Presence::kPresent, judge.Program(L"rundll32.exe shell32.dll,Control_RunDLL x.cpl", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Program(L"rundll32 shell32,Control_RunDLL", false).presence);
  auto gone = judge.Program(L"%SystemRoot%\\system32\\rundll32.exe \"" + (files / L"gone.dll") + L"\",Entry", false);
  EXPECT_EQ(Presence::kMissing, gone.presence);
  EXPECT_EQ(files / L"gone.dll", gone.path);
}

TEST(PathJudge, ResourceReferencesAreJudgedByTheirFile) {
  test::ScratchFolder files;
  PathJudge judge;
  EXPECT_EQ(Presence::kPresent, judge.File(L"@%SystemRoot%\\system32\\shell32.dll,-21787", false).presence);
  EXPECT_EQ(Presence::kMissing, judge.File(L"@" + (files / L"gone.dll") + L",-5", false).presence);
  EXPECT_EQ(Presence::kMissing, judge.Program(L"@" + (files / L"gone.dll") + L",-5;v1.0", false).presence);
}

TEST(PathJudge, WhatCannotBeVerifiedIsNeverMissing) {
  PathJudge judge;
  wchar_t letter = 0;
  DWORD drives = GetLogicalDrives();
  for (wchar_t c = L'Z'; c >= L'D'; --c)
    if (!(drives & (1u << (c - L'A')))) {
      letter = c;
      break;
    }
  ASSERT_NE(0, letter);
  std::wstring absent = std::wstring(1, letter) + L":\\App\\app.exe";
  EXPECT_EQ(Presence::kUnknown, judge.Program(absent, false).presence) << "a drive that is not there";
  EXPECT_EQ(Presence::kUnknown, judge.Program(L"\\\\server\\share\\app.exe", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.File(L"relative\\app.exe", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.File(L"C:\\" + std::wstring(10000, L'a') + L".exe", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.File(L"C:\\dir\\*.exe", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.Program(L"", false).presence);
  EXPECT_EQ(Presence::kUnknown, judge.Folder(L"\\??\\unix\\usr\\share\\fonts", false).presence);
}

TEST(PathJudge, ExtraFixedDrivesAreJudged) {
  test::ExtraDrive drive(L'T');
  ASSERT_TRUE(drive.present());
  std::wstring here = drive.Write(L"App\\app.exe", "MZ");
  PathJudge judge;
  EXPECT_EQ(Presence::kPresent, judge.Program(here, false).presence);
  EXPECT_EQ(Presence::kMissing, judge.Program(drive.root() + L"App\\gone.exe", false).presence);
  EXPECT_EQ(Presence::kPresent, judge.Folder(drive.root() + L"App\\", false).presence);
  EXPECT_EQ(Presence::kMissing, judge.Folder(drive.root() + L"Gone", false).presence);
  EXPECT_EQ(Presence::kMissing, judge.File(drive.root() + L"App", false).presence) << "a folder is not a file";
}

TEST(PathJudge, ThirtyTwoBitEntriesAreShownAndFoundInTheirOwnSystemFolder) {
  wchar_t wow[MAX_PATH] = {}, system[MAX_PATH] = {};
  if (!GetSystemWow64DirectoryW(wow, MAX_PATH)) GTEST_SKIP() << "a 32-bit Windows has one system folder";
  GetSystemDirectoryW(system, MAX_PATH);
  PathJudge judge;
  auto gone = judge.File(std::wstring(system) + L"\\lumaspan-gone.dll", true);
  EXPECT_EQ(Presence::kMissing, gone.presence);
  EXPECT_EQ(std::wstring(wow) + L"\\lumaspan-gone.dll", gone.path);
  // Written through the other view, a file is still there.
  EXPECT_EQ(Presence::kPresent, judge.File(std::wstring(system) + L"\\kernel32.dll", true).presence);
}

}  // namespace

// Typemend.dll, loaded as the program loads it. Every class key a case touches is sandboxed in both
// the machine's and the user's classes; the root of classes shows the machine's (under Wine its
// writes land there too). Repairs journal their undo into a scratch file.
#include "contracts/typemend.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

const wchar_t kClasses[] = L"Software\\Classes\\";
const wchar_t kId[] = L"LumaspanTest.file";
const wchar_t kLinkClassId[] = L"{00021401-0000-0000-C000-000000000046}";

std::wstring Classes(const std::wstring& sub) { return kClasses + sub; }
std::wstring CommandKey(const std::wstring& id = kId) { return Classes(id + L"\\shell\\open\\command"); }
std::wstring ClassIdKey(const std::wstring& id = kId) { return Classes(id + L"\\CLSID"); }

struct Expected {
  const wchar_t* extension;
  const wchar_t* shipped;
};

const Expected kShipped[] = {
    {L".txt", L"%SystemRoot%\\system32\\NOTEPAD.EXE %1"},
    {L".exe", L"\"%1\" %*"},
    {L".com", L"\"%1\" %*"},
    {L".pif", L"\"%1\" %*"},
    {L".reg", L"regedit.exe \"%1\""},
    {L".bat", L"\"%1\" %*"},
    {L".scr", L"\"%1\" /S"},
    {L".chm", L"\"%SystemRoot%\\hh.exe\" %1"},
    {L".hlp", L"%SystemRoot%\\System32\\winhlp32.exe %1"},
    {L".ini", L"%SystemRoot%\\System32\\NOTEPAD.EXE %1"},
    {L".inf", L"%SystemRoot%\\System32\\NOTEPAD.EXE %1"},
    {L".vbs", L"%SystemRoot%\\System32\\Wscript.exe \"%1\" %*"},
    {L".lnk", kLinkClassId},
    {L".js", L"%SystemRoot%\\System32\\Wscript.exe \"%1\" %*"},
    {L".cmd", L"\"%1\" %*"},
    {L".scf", L"%SystemRoot%\\explorer.exe"},
};

// A 260-character buffer pre-filled with "keep", with a guard past its end.
struct Buffer {
  wchar_t chars[264];
  Buffer() {
    for (wchar_t& c : chars) c = L'#';
    wcscpy(chars, L"keep");
  }
  bool guardIntact() const { return chars[260] == L'#' && chars[263] == L'#'; }
};

class Typemend : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each key once: ".JS" would name the same key as ".js".
    for (const wchar_t* name : {L".txt", L".log", L".exe", L".lnk", L".js", L".foo", kId, L"txtfile", L"exefile",
                                L"lnkfile", L"JSFile"})
      for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        sandboxes_.push_back(std::make_unique<test::RegistrySandbox>(root, Classes(name)));
    scratch_ = std::make_unique<test::ScratchFolder>();
    undo_ = *scratch_ / L"undo.reg";
    TypemendSetUndoFile(undo_.c_str());
  }
  void TearDown() override {
    TypemendSetUndoFile(nullptr);
    scratch_.reset();
    while (!sandboxes_.empty()) sandboxes_.pop_back();  // restored in reverse order
  }

  std::unique_ptr<test::ScratchFolder> scratch_;
  std::wstring undo_;

  static void Set(HKEY root, const std::wstring& path, const std::wstring& text, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  // The extension names the test type, whose open command (in the machine's classes) is command.
  static void Associate(const wchar_t* extension, const std::wstring& command) {
    Set(HKEY_LOCAL_MACHINE, Classes(extension), kId);
    Set(HKEY_LOCAL_MACHINE, CommandKey(), command);
  }
  static std::wstring Current(const wchar_t* extension) {
    Buffer b;
    TypemendGetFileAssociation(extension, b.chars);
    EXPECT_TRUE(b.guardIntact());
    return b.chars;
  }
  static std::wstring Default(const wchar_t* extension) {
    Buffer b;
    TypemendGetDefaultFileAssociation(extension, b.chars);
    EXPECT_TRUE(b.guardIntact());
    return b.chars;
  }

 private:
  std::vector<std::unique_ptr<test::RegistrySandbox>> sandboxes_;
};

TEST_F(Typemend, DefaultsAreThoseWindowsShips) {
  for (const Expected& row : kShipped) EXPECT_EQ(std::wstring(row.shipped), Default(row.extension)) << row.extension;
  for (const wchar_t* other : {L".JS", L".Txt", L"txt", L".txt ", L".foo", L""})
    EXPECT_EQ(L"keep", Default(other)) << other;
  EXPECT_EQ(L"keep", Default(nullptr));
  EXPECT_EQ(0, TypemendGetDefaultFileAssociation(L".txt", nullptr));
}

TEST_F(Typemend, ReadsTheCommandOfTheExtensionsType) {
  Associate(L".txt", L"%SystemRoot%\\system32\\NOTEPAD.EXE %1");
  EXPECT_EQ(L"%SystemRoot%\\system32\\NOTEPAD.EXE %1", Current(L".txt"));
  EXPECT_EQ(1, TypemendCompare(L".txt"));
  for (const wchar_t* changed : {L"notepad.exe %1", L"%SystemRoot%\\System32\\NOTEPAD.EXE %1",
                                 L"%SystemRoot%\\system32\\NOTEPAD.EXE \"%1\"x"}) {
    Associate(L".txt", changed);
    EXPECT_EQ(0, TypemendCompare(L".txt")) << changed;
  }
  Set(HKEY_LOCAL_MACHINE, CommandKey(), L"%SystemRoot%\\system32\\NOTEPAD.EXE %1", REG_EXPAND_SZ);
  EXPECT_EQ(1, TypemendCompare(L".txt"));
}

TEST_F(Typemend, QuotesDoNotCountInTheComparison) {
  Associate(L".exe", L"%1 %*");
  EXPECT_EQ(1, TypemendCompare(L".exe"));
  Associate(L".exe", L"\"%1\" %*");
  EXPECT_EQ(1, TypemendCompare(L".exe"));
  Associate(L".exe", L"\"%1\" %* /evil");
  EXPECT_EQ(0, TypemendCompare(L".exe"));
}

TEST_F(Typemend, AShortcutTypeWithoutCommandGivesItsClassId) {
  Set(HKEY_LOCAL_MACHINE, Classes(L".lnk"), kId);
  Set(HKEY_LOCAL_MACHINE, ClassIdKey(), kLinkClassId);
  EXPECT_EQ(kLinkClassId, Current(L".lnk"));
  EXPECT_EQ(1, TypemendCompare(L".lnk"));
  Set(HKEY_LOCAL_MACHINE, ClassIdKey(), L"{11111111-0000-0000-C000-000000000046}");
  EXPECT_EQ(0, TypemendCompare(L".lnk"));
  // A command key, even an empty one, is what counts when it is there.
  Set(HKEY_LOCAL_MACHINE, CommandKey(), L"");
  EXPECT_EQ(L"keep", Current(L".lnk"));
}

TEST_F(Typemend, WhatCannotBeReadIsEmpty) {
  EXPECT_EQ(L"keep", Current(L".txt"));  // no key at all
  EXPECT_EQ(0, TypemendCompare(L".txt"));
  Set(HKEY_LOCAL_MACHINE, Classes(L".txt"), L"");  // no type named
  EXPECT_EQ(L"keep", Current(L".txt"));
  Set(HKEY_LOCAL_MACHINE, Classes(L".txt"), kId);  // a type without command or class id
  Set(HKEY_LOCAL_MACHINE, Classes(kId), L"Test file");
  EXPECT_EQ(L"keep", Current(L".txt"));
}

TEST_F(Typemend, OnlyWholeStringsThatFitAreRead) {
  DWORD number = 7;
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, Classes(L".txt").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr));
  RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  RegCloseKey(key);
  EXPECT_EQ(L"keep", Current(L".txt"));
  Associate(L".txt", std::wstring(260, L'x'));  // one character too many
  EXPECT_EQ(L"keep", Current(L".txt"));
  Associate(L".txt", std::wstring(259, L'y'));
  EXPECT_EQ(std::wstring(259, L'y'), Current(L".txt"));
  Set(HKEY_LOCAL_MACHINE, Classes(L".txt"), std::wstring(300, L'z'));  // a type name that does not fit
  EXPECT_EQ(L"keep", Current(L".txt"));
  EXPECT_EQ(0, TypemendGetFileAssociation(L".txt", nullptr));
  EXPECT_EQ(L"keep", Current(nullptr));
  EXPECT_EQ(L"keep", Current(L""));
}

TEST_F(Typemend, CapitalsMatchNoRowThoughTheKeyOpens) {
  Associate(L".js", L"%SystemRoot%\\System32\\Wscript.exe \"%1\" %*");
  EXPECT_EQ(1, TypemendCompare(L".js"));
  EXPECT_EQ(L"keep", Default(L".JS"));
  EXPECT_EQ(0, TypemendCompare(L".JS"));  // the key opens, the shipped value is empty
  Associate(L".js", L"changed.exe %1");
  TypemendFileAssociationRepair(L".JS");
  EXPECT_EQ(L"changed.exe %1", test::ReadString(HKEY_LOCAL_MACHINE, CommandKey(), nullptr));
}

TEST_F(Typemend, RepairPointsBackToTheShippedClassAndLeavesAProgramsOwnClassAlone) {
  // ".txt" and ".log" both open with a program's own class.
  Associate(L".txt", L"editor.exe \"%1\"");
  Set(HKEY_LOCAL_MACHINE, Classes(L".log"), kId);
  const std::vector<std::wstring> keys = {L".txt", L".log", kId, L"txtfile"};
  std::vector<std::vector<char>> before;
  for (const std::wstring& key : keys) before.push_back(hstest::ExportKey(L"HKEY_LOCAL_MACHINE\\" + Classes(key)));

  EXPECT_EQ(1, TypemendFileAssociationRepair(L".txt"));
  EXPECT_EQ(L"editor.exe \"%1\"", test::ReadString(HKEY_LOCAL_MACHINE, CommandKey(), nullptr));
  EXPECT_EQ(kId, test::ReadString(HKEY_LOCAL_MACHINE, Classes(L".log"), nullptr));
  EXPECT_EQ(L"txtfile", test::ReadString(HKEY_LOCAL_MACHINE, Classes(L".txt"), nullptr));
  const std::wstring shipped = L"%SystemRoot%\\system32\\NOTEPAD.EXE %1";
  EXPECT_EQ(shipped, Current(L".txt"));
  EXPECT_EQ(1, TypemendCompare(L".txt"));
  // The command as the shell expands it: the whole zero-filled buffer, REG_EXPAND_SZ.
  EXPECT_EQ(DWORD(REG_EXPAND_SZ), test::ValueType(HKEY_LOCAL_MACHINE, CommandKey(L"txtfile"), nullptr));
  std::vector<BYTE> raw = test::ReadRaw(HKEY_LOCAL_MACHINE, CommandKey(L"txtfile"), nullptr);
  ASSERT_EQ(520u, raw.size());
  for (size_t i = shipped.size() * sizeof(wchar_t); i < raw.size(); ++i) ASSERT_EQ(0, raw[i]) << i;
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, Classes(L"txtfile")));  // no user copy is made

  ASSERT_TRUE(hstest::ImportFile(undo_));
  for (size_t i = 0; i < keys.size(); ++i)
    EXPECT_TRUE(hstest::ExportKey(L"HKEY_LOCAL_MACHINE\\" + Classes(keys[i])) == before[i]) << keys.size();
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, Classes(L"txtfile")));
}

TEST_F(Typemend, RepairMendsTheUsersOwnCopiesAndTheirUndoRestoresThem) {
  Set(HKEY_LOCAL_MACHINE, Classes(L".exe"), L"exefile");
  Set(HKEY_LOCAL_MACHINE, CommandKey(L"exefile"), L"evil.exe \"%1\"", REG_EXPAND_SZ);
  Set(HKEY_CURRENT_USER, Classes(L".exe"), kId);
  Set(HKEY_CURRENT_USER, CommandKey(L"exefile"), L"evil.exe %1");
  const std::wstring user = L"HKEY_CURRENT_USER\\" + Classes(L"");
  const std::vector<char> userExe = hstest::ExportKey(user + L".exe"), userClass = hstest::ExportKey(user + L"exefile"),
                          machineClass = hstest::ExportKey(L"HKEY_LOCAL_MACHINE\\" + Classes(L"exefile"));
  EXPECT_EQ(1, TypemendFileAssociationRepair(L".exe"));
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    EXPECT_EQ(L"exefile", test::ReadString(root, Classes(L".exe"), nullptr));
    EXPECT_EQ(L"\"%1\" %*", test::ReadString(root, CommandKey(L"exefile"), nullptr));
  }
  ASSERT_TRUE(hstest::ImportFile(undo_));
  EXPECT_TRUE(hstest::ExportKey(user + L".exe") == userExe);
  EXPECT_TRUE(hstest::ExportKey(user + L"exefile") == userClass);
  EXPECT_TRUE(hstest::ExportKey(L"HKEY_LOCAL_MACHINE\\" + Classes(L"exefile")) == machineClass);
}

TEST_F(Typemend, RepairOfAShortcutWritesTheShippedClassIdAsPlainString) {
  Set(HKEY_LOCAL_MACHINE, Classes(L".lnk"), L"lnkfile");
  Set(HKEY_LOCAL_MACHINE, ClassIdKey(L"lnkfile"), L"{BAD}");
  EXPECT_EQ(1, TypemendFileAssociationRepair(L".lnk"));
  EXPECT_EQ(kLinkClassId, test::ReadString(HKEY_LOCAL_MACHINE, ClassIdKey(L"lnkfile"), nullptr));
  EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_LOCAL_MACHINE, ClassIdKey(L"lnkfile"), nullptr));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, CommandKey(L"lnkfile")));
  EXPECT_EQ(1, TypemendCompare(L".lnk"));
}

TEST_F(Typemend, ARepairWhoseUndoCannotBeKeptChangesNothing) {
  Associate(L".txt", L"editor.exe %1");
  ASSERT_TRUE(test::WriteFile(*scratch_ / L"taken", "a file where the journal's folder would be"));
  const std::wstring unwritable = *scratch_ / L"taken\\undo.reg";
  TypemendSetUndoFile(unwritable.c_str());
  EXPECT_EQ(0, TypemendFileAssociationRepair(L".txt"));
  EXPECT_EQ(kId, test::ReadString(HKEY_LOCAL_MACHINE, Classes(L".txt"), nullptr));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, Classes(L"txtfile")));
}

TEST_F(Typemend, TheCheckCountsBrokenAssociationsNotChosenPrograms) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  Associate(L".txt", L"\"" + std::wstring(system) + L"\\notepad.exe\" \"%1\"");  // another program that exists
  EXPECT_EQ(1, TypemendCheck(L".txt"));
  Associate(L".txt", L"notepad.exe %1");  // found on the search path
  EXPECT_EQ(1, TypemendCheck(L".txt"));
  Associate(L".txt", L"C:\\Nowhere\\editor.exe %1");  // a program that is not there
  EXPECT_EQ(0, TypemendCheck(L".txt"));
  Associate(L".txt", L"");  // no command
  EXPECT_EQ(0, TypemendCheck(L".txt"));
  Associate(L".txt", L"%SystemRoot%\\system32\\NOTEPAD.EXE %1");
  EXPECT_EQ(1, TypemendCheck(L".txt"));
  Set(HKEY_LOCAL_MACHINE, Classes(L".txt"), L"");  // a deleted association
  EXPECT_EQ(0, TypemendCheck(L".txt"));
  DWORD number = 7;  // a class name that is no string
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, Classes(L".txt").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr));
  RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  RegCloseKey(key);
  EXPECT_EQ(0, TypemendCheck(L".txt"));
  EXPECT_EQ(1, TypemendFileAssociationRepair(L".txt"));  // the number is journalled and replaced
  EXPECT_EQ(1, TypemendCheck(L".txt"));
  ASSERT_TRUE(hstest::ImportFile(undo_));
  EXPECT_EQ(DWORD(REG_DWORD), test::ValueType(HKEY_LOCAL_MACHINE, Classes(L".txt"), nullptr));
  EXPECT_EQ(0, TypemendCheck(L".exe"));  // no key at all
  EXPECT_EQ(1, TypemendCheck(L".foo"));  // not a type the check knows
}

TEST_F(Typemend, RepairWritesNothingForUnknownNames) {
  Set(HKEY_LOCAL_MACHINE, Classes(L".foo"), kId);
  Set(HKEY_LOCAL_MACHINE, CommandKey(), L"viewer.exe %1");
  for (const wchar_t* name : {L".foo", L".FOO", L"", L"foo"}) EXPECT_EQ(0, TypemendFileAssociationRepair(name)) << name;
  EXPECT_EQ(0, TypemendFileAssociationRepair(nullptr));
  EXPECT_EQ(L"viewer.exe %1", test::ReadString(HKEY_LOCAL_MACHINE, CommandKey(), nullptr));
  EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_LOCAL_MACHINE, CommandKey(), nullptr));
  EXPECT_EQ(L"viewer.exe %1", Current(L".foo"));  // other types can still be read
}

}  // namespace

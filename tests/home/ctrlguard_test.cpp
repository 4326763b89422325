// Ctrlguard.dll, loaded as the program loads it: a control is a problem only when it is registered
// and a registry view that registers it lacks the kill bit; blocking sets the bit in both views of
// this 64-bit Windows and keeps the value's other bits; anything but a class identifier is refused.
#include "contracts/ctrlguard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

const wchar_t kId[] = L"{4C554D41-C0DE-4000-8000-00000000C7A1}";
const std::wstring kCompatibility = std::wstring(L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\") + kId;

class Ctrlguard : public testing::Test {
 protected:
  void SetUp() override { CtrlguardSetUndoFile(undo_.c_str()); }
  void TearDown() override {
    CtrlguardSetUndoFile(nullptr);
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      Delete(HKEY_CLASSES_ROOT, L"CLSID", view);
      Delete(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility", view);
    }
  }
  static void Delete(HKEY root, const wchar_t* parent, REGSAM view) {
    base::UniqueKey key;
    if (RegOpenKeyExW(root, parent, 0, KEY_ALL_ACCESS | view, key.receive()) == ERROR_SUCCESS)
      RegDeleteKeyW(key.get(), kId);
  }
  static void Register(REGSAM view) {
    base::UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kId).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | view, nullptr, key.receive(), nullptr));
  }
  static void SetFlags(REGSAM view, DWORD flags) {
    base::UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCompatibility.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | view, nullptr, key.receive(), nullptr));
    RegSetValueExW(key.get(), L"Compatibility Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), 4);
  }
  static void SetRaw(REGSAM view, DWORD type, const void* data, DWORD bytes) {
    base::UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCompatibility.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | view, nullptr, key.receive(), nullptr));
    RegSetValueExW(key.get(), L"Compatibility Flags", 0, type, static_cast<const BYTE*>(data), bytes);
  }
  static bool KeyIn(REGSAM view) {
    base::UniqueKey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCompatibility.c_str(), 0, KEY_READ | view, key.receive()) == ERROR_SUCCESS;
  }
  test::ScratchFolder scratch_;
  std::wstring undo_ = scratch_ / L"undo.reg";

  // The stored flags, or -1 when the key or value is missing.
  static long long Flags(REGSAM view) {
    base::UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCompatibility.c_str(), 0, KEY_READ | view, key.receive()) != ERROR_SUCCESS)
      return -1;
    DWORD flags = 0, size = 4, type = 0;
    if (RegQueryValueExW(key.get(), L"Compatibility Flags", nullptr, &type, reinterpret_cast<BYTE*>(&flags), &size) !=
        ERROR_SUCCESS)
      return -1;
    return type == REG_DWORD ? flags : -1;
  }
};

TEST_F(Ctrlguard, AControlNotInstalledIsNoProblemAndAnInstalledOneIsUntilBlockedInEveryView) {
  EXPECT_EQ(1, CtrlguardStatus(kId));

  Register(KEY_WOW64_32KEY);  // a 32-bit control only: the 32-bit browser can load it
  EXPECT_EQ(0, CtrlguardStatus(kId));
  SetFlags(KEY_WOW64_64KEY, 0x400);  // the bit in the other view does not protect it
  EXPECT_EQ(0, CtrlguardStatus(kId));

  SetFlags(KEY_WOW64_64KEY, 0x3);  // bits of their own, which the block keeps
  SetFlags(KEY_WOW64_32KEY, 0x10);
  Register(KEY_WOW64_64KEY);
  EXPECT_EQ(1, CtrlguardBlock(kId));
  EXPECT_EQ(0x403, Flags(KEY_WOW64_64KEY));
  EXPECT_EQ(0x410, Flags(KEY_WOW64_32KEY));
  EXPECT_EQ(1, CtrlguardStatus(kId));
  EXPECT_EQ(1, CtrlguardBlock(kId));  // again: nothing changes
  EXPECT_EQ(0x403, Flags(KEY_WOW64_64KEY));
}

TEST_F(Ctrlguard, BlockingCreatesTheKeysAndTakesAnyCaseOfHexDigits) {
  std::wstring lower = kId;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  Register(KEY_WOW64_64KEY);
  EXPECT_EQ(0, CtrlguardStatus(lower.c_str()));
  EXPECT_EQ(1, CtrlguardBlock(lower.c_str()));
  EXPECT_EQ(0x400, Flags(KEY_WOW64_64KEY));
  EXPECT_EQ(0x400, Flags(KEY_WOW64_32KEY));
}

TEST_F(Ctrlguard, MalformedKeysAreRefusedAndWriteNothing) {
  const std::wstring id = kId;
  const std::wstring malformed[] = {L"",
                                    id.substr(1),
                                    id + L"x",
                                    id.substr(0, 37) + L"\\..\\{4C554D41-C0DE-4000-8000-00000000C7A1}",
                                    L"{4C554D41-C0DE-4000-8000-00000000C7AG}",
                                    L"{4C554D41+C0DE-4000-8000-00000000C7A1}",
                                    L"4C554D41-C0DE-4000-8000-00000000C7A1",
                                    std::wstring(10000, L'A')};
  for (const std::wstring& key : malformed) {
    EXPECT_EQ(-1, CtrlguardStatus(key.c_str())) << key.size();
    EXPECT_EQ(0, CtrlguardBlock(key.c_str())) << key.size();
  }
  EXPECT_EQ(-1, CtrlguardStatus(nullptr));
  EXPECT_EQ(0, CtrlguardBlock(nullptr));
  EXPECT_EQ(-1, Flags(KEY_WOW64_64KEY));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\" +
                                                       id.substr(1)));
}

TEST_F(Ctrlguard, TheUndoOfABlockGivesBackTheFlagsAndTheAbsentKey) {
  Register(KEY_WOW64_64KEY);
  SetFlags(KEY_WOW64_64KEY, 0x83);  // the 32-bit view has no key at all
  ASSERT_EQ(1, CtrlguardBlock(kId));
  EXPECT_EQ(0x483, Flags(KEY_WOW64_64KEY));
  ASSERT_TRUE(hstest::ImportFile(undo_));
  EXPECT_EQ(0x83, Flags(KEY_WOW64_64KEY));
  EXPECT_FALSE(KeyIn(KEY_WOW64_32KEY));
}

TEST_F(Ctrlguard, FlagsOfAnotherTypeAreNotOursToOverwrite) {
  Register(KEY_WOW64_64KEY);
  const wchar_t text[] = L"1024";
  const BYTE bytes[] = {0x00, 0x04, 0x00, 0x00, 0x01};
  for (DWORD type : {DWORD(REG_SZ), DWORD(REG_BINARY)}) {
    if (type == REG_SZ)
      SetRaw(KEY_WOW64_64KEY, type, text, sizeof(text));
    else
      SetRaw(KEY_WOW64_64KEY, type, bytes, sizeof(bytes));
    EXPECT_EQ(0, CtrlguardBlock(kId)) << type;
    EXPECT_EQ(type, test::ValueType(HKEY_LOCAL_MACHINE, kCompatibility, L"Compatibility Flags"));
    EXPECT_EQ(type == REG_SZ ? sizeof(text) : sizeof(bytes),
              test::ReadRaw(HKEY_LOCAL_MACHINE, kCompatibility, L"Compatibility Flags").size());
    EXPECT_FALSE(KeyIn(KEY_WOW64_32KEY)) << "the other view is left alone too";
  }
}

TEST_F(Ctrlguard, ABlockWhoseUndoCannotBeKeptChangesNothing) {
  Register(KEY_WOW64_64KEY);
  SetFlags(KEY_WOW64_64KEY, 0x1);
  ASSERT_TRUE(test::WriteFile(scratch_ / L"taken", "a file where the journal's folder would be"));
  const std::wstring unwritable = scratch_ / L"taken\\undo.reg";
  CtrlguardSetUndoFile(unwritable.c_str());
  EXPECT_EQ(0, CtrlguardBlock(kId));
  EXPECT_EQ(0x1, Flags(KEY_WOW64_64KEY));
  EXPECT_FALSE(KeyIn(KEY_WOW64_32KEY));
  EXPECT_EQ(0, CtrlguardStatus(kId));
}

}  // namespace

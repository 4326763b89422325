// Addonward.dll as the page calls it: each kind of add-on removed from every registry view that holds
// it, nothing else touched, and the undo file restoring exactly what was removed.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/handles.h"
#include "contracts/addonward.h"
#include "tests/addonward/addon_registry.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/program_folder.h"

namespace {

using addon_test::AddonRegistry;
using addon_test::View;

const wchar_t kToolbarId[] = L"{4C554D41-0000-4000-8000-0000000A0001}";
const wchar_t kHelperId[] = L"{4C554D41-0000-4000-8000-0000000A0002}";
const wchar_t kOtherId[] = L"{4C554D41-0000-4000-8000-0000000A0003}";

// A registry link planted by the test, deleted as a link (never through it) afterwards.
class LinkKey {
 public:
  LinkKey(const std::wstring& path, const std::wstring& target) : path_(path) {
    base::UniqueKey key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                             KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, key.receive(), nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), L"SymbolicLinkValue", 0, REG_LINK,
                                            reinterpret_cast<const BYTE*>(target.data()),
                                            static_cast<DWORD>(target.size() * sizeof(wchar_t))));
  }
  ~LinkKey() {
    using NtDeleteKey = LONG(WINAPI*)(HANDLE);
    auto remove = reinterpret_cast<NtDeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    base::UniqueKey key;
    if (remove && RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), REG_OPTION_OPEN_LINK, DELETE, key.receive()) ==
                      ERROR_SUCCESS)
      remove(key.get());
  }

 private:
  std::wstring path_;
};

std::wstring Full(const wchar_t* type, View view = View::kNative) {
  return (AddonRegistry::RootOf(type) == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\") +
         AddonRegistry::KeyOf(type, view);
}

class Removal : public testing::Test {
 protected:
  void SetUp() override {
    addons_.Toolbar(kToolbarId);
    addons_.Toolbar(kOtherId);
    addons_.Extension(L"{4C554D41-0000-4000-8000-0000000B0001}", L"Lumaspan Tools", nullptr, L"C:\\tools.ico");
    addons_.Sandbox(L"Extensions").SetString(L"{4C554D41-0000-4000-8000-0000000B0001}\\Nested", L"Deep", L"kept");
    addons_.Extension(L"{4C554D41-0000-4000-8000-0000000B0002}", L"Other", nullptr, nullptr);
    addons_.MenuExt(L"&Send to Lumaspan", L"res://C:\\send.dll/menu.htm");
    addons_.MenuExt(L"Other entry", L"C:\\other.htm");
    addons_.Helper(kHelperId, L"Helper");
    addons_.Helper(kOtherId, L"Other helper");
  }

  // Every add-on key as the registry editor exports it.
  std::vector<std::vector<char>> Exports() {
    std::vector<std::vector<char>> all;
    for (const wchar_t* type : {L"Toolbar", L"Extensions", L"MenuExt", L"BHO"})
      for (View view : {View::kNative, View::k32Bit}) all.push_back(hstest::ExportKey(Full(type, view)));
    return all;
  }

  test::ProgramFolder program_{test::ProgramFolder::Layout::Bare};
  AddonRegistry addons_;
};

TEST_F(Removal, EachKindGoesAloneAndTheUndoFilePutsItBackExactly) {
  std::vector<std::vector<char>> before = Exports();
  EXPECT_EQ(1, AddonwardRemoveBHO(kToolbarId, L"Toolbar"));
  EXPECT_EQ(1, AddonwardRemoveBHO(L"{4C554D41-0000-4000-8000-0000000B0001}", L"Extensions"));
  EXPECT_EQ(1, AddonwardRemoveBHO(L"&Send to Lumaspan", L"MenuExt"));
  EXPECT_EQ(1, AddonwardRemoveBHO(kHelperId, L"BHO"));

  HKEY hklm = HKEY_LOCAL_MACHINE;
  EXPECT_FALSE(test::ValueExists(hklm, AddonRegistry::KeyOf(L"Toolbar"), kToolbarId));
  EXPECT_TRUE(test::ValueExists(hklm, AddonRegistry::KeyOf(L"Toolbar"), kOtherId));
  EXPECT_FALSE(test::KeyExists(hklm, addons_.Sandbox(L"Extensions").Sub(L"{4C554D41-0000-4000-8000-0000000B0001}")));
  EXPECT_TRUE(test::KeyExists(hklm, addons_.Sandbox(L"Extensions").Sub(L"{4C554D41-0000-4000-8000-0000000B0002}")));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, addons_.Sandbox(L"MenuExt").Sub(L"&Send to Lumaspan")));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, addons_.Sandbox(L"MenuExt").Sub(L"Other entry")));
  EXPECT_FALSE(test::KeyExists(hklm, addons_.Sandbox(L"BHO").Sub(kHelperId)));
  EXPECT_TRUE(test::KeyExists(hklm, addons_.Sandbox(L"BHO").Sub(kOtherId)));

  EXPECT_EQ(0, AddonwardRemoveBHO(kToolbarId, L"Toolbar")) << "an add-on that is gone is not removed again";
  std::vector<std::wstring> undo = hstest::RegFiles(program_ / L"Backup\\Addons");
  ASSERT_EQ(1u, undo.size()) << "one undo file per session";
  ASSERT_TRUE(hstest::ImportFile(undo[0]));
  EXPECT_TRUE(Exports() == before) << "the undo file does not restore the add-ons exactly";
}

TEST_F(Removal, AnAddonIsRemovedFromBothViews) {
  if (!AddonRegistry::Has32BitView()) GTEST_SKIP() << "this system has one registry view";
  addons_.Toolbar(kToolbarId, View::k32Bit);
  addons_.Helper(kToolbarId, L"32-bit helper", View::k32Bit);
  std::vector<std::vector<char>> before = Exports();

  EXPECT_EQ(1, AddonwardRemoveBHO(kToolbarId, L"Toolbar"));
  EXPECT_EQ(1, AddonwardRemoveBHO(kToolbarId, L"BHO"));
  for (View view : {View::kNative, View::k32Bit})
    EXPECT_FALSE(test::ValueExists(HKEY_LOCAL_MACHINE, AddonRegistry::KeyOf(L"Toolbar", view), kToolbarId));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, addons_.Sandbox(L"BHO", View::k32Bit).Sub(kToolbarId)));
  EXPECT_TRUE(test::ValueExists(HKEY_LOCAL_MACHINE, AddonRegistry::KeyOf(L"Toolbar"), kOtherId));

  ASSERT_TRUE(hstest::ImportFile(hstest::RegFiles(program_ / L"Backup\\Addons").at(0)));
  EXPECT_TRUE(Exports() == before);
}

TEST_F(Removal, KeysThatAreNotOneAddonAndUnknownTypesChangeNothing) {
  // A key that would reach the kind's key itself, its parent or another key below it.
  addons_.Sandbox(L"Extensions").SetString(L"a\\b", L"ButtonText", L"nested");
  addons_.Sandbox(L"MenuExt").SetString(L"a/b", nullptr, L"slash");
  std::vector<std::vector<char>> before = Exports();
  std::wstring tooLong(16384, L'x');
  struct Case {
    const wchar_t* key;
    const wchar_t* type;
  } refused[] = {{L"", L"Extensions"},       {L".", L"Extensions"},       {L"..", L"MenuExt"},
                 {L"a\\b", L"Extensions"},    {L"a/b", L"MenuExt"},        {L"..\\Toolbar", L"Extensions"},
                 {nullptr, L"BHO"},           {kToolbarId, L"toolbar"},    {kHelperId, L"Browser Helper Object"},
                 {kToolbarId, nullptr},       {kToolbarId, L""},           {tooLong.c_str(), L"Toolbar"},
                 {L"No such add-on", L"MenuExt"}};
  for (const Case& c : refused)
    EXPECT_EQ(0, AddonwardRemoveBHO(c.key, c.type))
        << testing::PrintToString(std::wstring(c.key ? c.key : L"(null)")) << " "
        << testing::PrintToString(std::wstring(c.type ? c.type : L"(null)"));
  EXPECT_TRUE(Exports() == before);
  EXPECT_TRUE(hstest::RegFiles(program_ / L"Backup\\Addons").empty());
}

TEST_F(Removal, AnAddonHoldingARegistryLinkGoesWithTheLinkAndNotWhatItLeadsTo) {
  test::RegistrySandbox target(HKEY_LOCAL_MACHINE, L"Software\\Lumaspan Link Target");
  target.SetString(L"Inner", L"Kept", L"yes");
  const std::wstring addon = L"{4C554D41-0000-4000-8000-0000000B0001}";
  LinkKey link(addons_.Sandbox(L"Extensions").Sub(addon + L"\\Trap"),
               L"\\Registry\\Machine\\Software\\Lumaspan Link Target");
  ASSERT_EQ(L"yes", test::ReadString(HKEY_LOCAL_MACHINE, addons_.Sandbox(L"Extensions").Sub(addon + L"\\Trap\\Inner"),
                                     L"Kept"))
      << "the link does not lead to its target";

  EXPECT_EQ(1, AddonwardRemoveBHO(addon.c_str(), L"Extensions"));
  EXPECT_EQ(L"yes", test::ReadString(HKEY_LOCAL_MACHINE, target.Sub(L"Inner"), L"Kept"));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, addons_.Sandbox(L"Extensions").Sub(addon)));
}

}  // namespace

// The exclusions store and its filter set: what is read back, what is refused, how paths match.
#include "base/exclusions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/registry_sandbox.h"

namespace {

using base::Exclusion;
using base::ExclusionKind;

class Exclusions : public ::testing::Test {
 protected:
  test::RegistrySandbox sandbox_{HKEY_CURRENT_USER, base::kExclusionsKey};
};

TEST_F(Exclusions, ReadsOnlyWellFormedValuesAndRefusesDriveRoots) {
  EXPECT_EQ(base::AddResult::kAdded, base::AddExclusion({ExclusionKind::kFolder, L"C:\\Keep\\"}));
  EXPECT_EQ(base::AddResult::kAlreadyThere, base::AddExclusion({ExclusionKind::kFolder, L"c:\\keep"}));
  EXPECT_EQ(base::AddResult::kAdded, base::AddExclusion({ExclusionKind::kRegistry, base::RegistryIdentity(
                                                                                      3, L"HKEY_CURRENT_USER\\A", L"v|w")}));
  for (const wchar_t* root : {L"C:\\", L"c:", L"\\\\server\\share\\", L"\\"})
    EXPECT_EQ(base::AddResult::kRefusedDriveRoot, base::AddExclusion({ExclusionKind::kFolder, root})) << root;
  std::wstring huge(10000, L'x');
  EXPECT_EQ(base::AddResult::kRefusedEmptyOrLong, base::AddExclusion({ExclusionKind::kFile, L"C:\\" + huge}));
  EXPECT_EQ(base::AddResult::kRefusedEmptyOrLong, base::AddExclusion({ExclusionKind::kFile, L""}));

  // What another program (or a damaged profile) may have left there.
  sandbox_.SetDword(L"", L"C:\\Dword", 1);
  sandbox_.SetString(L"", L"C:\\Unknown", L"Something");
  sandbox_.SetString(L"", L"C:\\LongData", huge);
  sandbox_.SetString(L"", (L"C:\\" + huge).c_str(), L"File");
  sandbox_.SetString(L"", L"D:\\", L"Folder");
  const wchar_t open[] = L"FileX";  // four characters stored, no terminator among them
  sandbox_.SetRaw(L"", L"C:\\Open", REG_SZ, open, 4 * sizeof(wchar_t));
  sandbox_.SetString(L"", L"C:\\Fine.txt", L"file");

  std::map<std::wstring, ExclusionKind> read;
  for (const Exclusion& item : base::ReadExclusions()) read[item.identity] = item.kind;
  EXPECT_EQ((std::map<std::wstring, ExclusionKind>{{L"C:\\Keep", ExclusionKind::kFolder},
                                                   {L"3|HKEY_CURRENT_USER\\A|v|w", ExclusionKind::kRegistry},
                                                   {L"C:\\Fine.txt", ExclusionKind::kFile}}),
            read);

  EXPECT_TRUE(base::RemoveExclusion(L"C:\\Keep"));
  EXPECT_FALSE(base::RemoveExclusion(L"C:\\Keep"));
  EXPECT_EQ(2u, base::ReadExclusions().size());
}

TEST_F(Exclusions, TheSetMatchesBelowFoldersIgnoringLetterCase) {
  base::ExclusionSet set({{ExclusionKind::kFolder, L"C:\\Data\\Keep"},
                          {ExclusionKind::kFile, L"C:\\Temp\\One.tmp"},
                          {ExclusionKind::kRegistry, base::RegistryIdentity(7, L"HKEY_LOCAL_MACHINE\\Run", L"App")}});
  EXPECT_TRUE(set.ExcludesPath(L"c:\\data\\keep"));
  EXPECT_TRUE(set.ExcludesPath(L"C:\\DATA\\KEEP\\a\\b.tmp"));
  EXPECT_FALSE(set.ExcludesPath(L"C:\\Data\\Keeper\\b.tmp"));
  EXPECT_FALSE(set.ExcludesPath(L"C:\\Data\\b.tmp"));
  EXPECT_TRUE(set.ExcludesPath(L"c:\\temp\\ONE.TMP"));
  EXPECT_FALSE(set.ExcludesPath(L"C:\\Temp\\One.tmp.bak"));
  EXPECT_TRUE(set.ExcludesRegistry(7, L"hkey_local_machine\\run", L"app"));
  EXPECT_FALSE(set.ExcludesRegistry(8, L"HKEY_LOCAL_MACHINE\\Run", L"App"));
  EXPECT_FALSE(set.ExcludesRegistry(7, L"HKEY_LOCAL_MACHINE\\Run", L""));
  EXPECT_FALSE(base::ExclusionSet().ExcludesPath(L"C:\\Data\\Keep"));
}

}  // namespace

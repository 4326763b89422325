// Webmend.dll, loaded as the program loads it, over sandboxed browser keys of both roots. The same
// cases run as Windows XP (generation 5) under webmend_tests_xp.exe.
#include "contracts/webmend.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

const wchar_t kBrowser[] = L"Software\\Microsoft\\Internet Explorer";

bool RunningAsXp() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.size() > 7 && _wcsicmp(p.c_str() + p.size() - 7, L"_xp.exe") == 0;
}

struct Row {
  const wchar_t* name;
  HKEY root;
  const wchar_t* key;  // under the browser key
  const wchar_t* value;
  const wchar_t* generation5;
  const wchar_t* generation6;
};

const Row kRows[] = {
    {L"Start Page", HKEY_CURRENT_USER, L"Main", L"Start Page", L"http://www.msn.com", L""},
    {L"Search Page", HKEY_CURRENT_USER, L"Main", L"Search Page",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch", L"http://go.microsoft.com/fwlink/?LinkId=54896"},
    {L"Default Page URL", HKEY_CURRENT_USER, L"Main", L"Default_Page_URL",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=msnhome", L""},
    {L"Local Page", HKEY_CURRENT_USER, L"Main", L"Local Page", L"%SystemRoot%\\system32\\blank.htm",
     L"C:\\Windows\\system32\\blank.htm"},
    {L"Search Bar", HKEY_CURRENT_USER, L"Main", L"Search Bar", L"http://home.microsoft.com/seach/lobby/search.asp",
     L"Preserve"},
    {L"Default Search URL", HKEY_CURRENT_USER, L"Main", L"Default_Search_URL",
     L"http://home.microsoft.com/seach/search.asp", L""},
    {L"Start Page (all users)", HKEY_LOCAL_MACHINE, L"Main", L"Start Page", L"http://www.msn.com",
     L"http://go.microsoft.com/fwlink/?LinkId=69157"},
    {L"Search Page (all users)", HKEY_LOCAL_MACHINE, L"Main", L"Search Page",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch", L"http://go.microsoft.com/fwlink/?LinkId=54896"},
    {L"Default Page URL (all users)", HKEY_LOCAL_MACHINE, L"Main", L"Default_Page_URL",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=msnhome",
     L"http://go.microsoft.com/fwlink/?LinkId=69157"},
    {L"Local Page (all users)", HKEY_LOCAL_MACHINE, L"Main", L"Local Page", L"%SystemRoot%\\system32\\blank.htm",
     L"C:\\Windows\\system32\\blank.htm"},
    {L"Search Bar (all users)", HKEY_LOCAL_MACHINE, L"Main", L"Search Bar",
     L"http://home.microsoft.com/seach/lobby/search.asp", L""},
    {L"Default Search URL (all users)", HKEY_LOCAL_MACHINE, L"Main", L"Default_Search_URL",
     L"http://home.microsoft.com/seach/search.asp", L"http://go.microsoft.com/fwlink/?LinkId=54896"},
    {L"Customize Search (all users)", HKEY_LOCAL_MACHINE, L"Search", L"CustomizeSearch",
     L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchcust.htm", L""},
    {L"Search Assistant (all users)", HKEY_LOCAL_MACHINE, L"Search", L"SearchAssistant",
     L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchasst.htm", L""},
    {L"Search URL", HKEY_CURRENT_USER, L"", L"SearchUrl", L"http://home.microsoft.com/access/autosearch.asp?p=%s",
     L""},
    {L"Search URL (all users)", HKEY_LOCAL_MACHINE, L"", L"SearchUrl",
     L"http://home.microsoft.com/access/autosearch.asp?p=%s", L""},
    {L"Blank Page", HKEY_LOCAL_MACHINE, L"AboutURLs", L"blank", L"res://mshtml.dll/blank.htm",
     L"res://mshtml.dll/blank.htm"},
    {L"Desktop Navigation Failure", HKEY_LOCAL_MACHINE, L"AboutURLs", L"DesktopItemNavigationFailure",
     L"res://shdoclc.dll/navcancl.htm", L"res://ieframe.dll/navcancl.htm"},
    {L"Navigation Canceled", HKEY_LOCAL_MACHINE, L"AboutURLs", L"NavigationCanceled", L"res://shdoclc.dll/navcancl.htm",
     L"res://ieframe.dll/navcancl.htm"},
    {L"Navigation Failure", HKEY_LOCAL_MACHINE, L"AboutURLs", L"NavigationFailure", L"res://shdoclc.dll/navcancl.htm",
     L"res://ieframe.dll/navcancl.htm"},
    {L"Offline Information", HKEY_LOCAL_MACHINE, L"AboutURLs", L"OfflineInformation",
     L"res://shdoclc.dll/offcancl.htm", L"res://ieframe.dll/offcancl.htm"},
    {L"Post Not Cached", HKEY_LOCAL_MACHINE, L"AboutURLs", L"PostNotCached", L"res://mshtml.dll/repost.htm",
     L"res://ieframe.dll/repost.htm"},
};

const wchar_t* Shipped(const Row& row) { return RunningAsXp() ? row.generation5 : row.generation6; }

class Webmend : public ::testing::Test {
 protected:
  Webmend() { WebmendSetUndoFile(undo_.c_str()); }
  ~Webmend() override { WebmendSetUndoFile(nullptr); }

  // Everything the engine may touch lies below the browser key of either root.
  test::RegistrySandbox user_{HKEY_CURRENT_USER, kBrowser};
  test::RegistrySandbox machine_{HKEY_LOCAL_MACHINE, kBrowser};
  test::ScratchFolder scratch_;
  std::wstring undo_ = scratch_ / L"undo.reg";

  test::RegistrySandbox& Sandbox(HKEY root) { return root == HKEY_CURRENT_USER ? user_ : machine_; }
  void CreateAllKeys() {
    for (test::RegistrySandbox* s : {&user_, &machine_})
      for (const wchar_t* key : {L"Main", L"Search", L"AboutURLs"}) s->CreateKey(key);
  }
  void Store(const Row& row, const std::wstring& text, DWORD type = REG_SZ) {
    Sandbox(row.root).SetString(row.key, row.value, text, type);
  }
  static std::wstring Path(const Row& row) {
    return *row.key ? std::wstring(kBrowser) + L"\\" + row.key : std::wstring(kBrowser);
  }
  // A 260-character buffer pre-filled with "keep", with a guard past its end.
  struct Buffer {
    wchar_t chars[264];
    Buffer() {
      for (wchar_t& c : chars) c = L'#';
      wcscpy(chars, L"keep");
    }
    std::wstring text() const { return chars; }
    bool guardIntact() const { return chars[260] == L'#' && chars[263] == L'#'; }
  };
  static std::wstring Get(const wchar_t* name) {
    Buffer b;
    WebmendGetSetting(name, b.chars);
    EXPECT_TRUE(b.guardIntact());
    return b.text();
  }
  static std::wstring Default(const wchar_t* name) {
    Buffer b;
    WebmendDefaultSetting(name, b.chars);
    EXPECT_TRUE(b.guardIntact());
    return b.text();
  }
};

TEST_F(Webmend, DefaultsAreThoseShippedWithTheRunningGeneration) {
  for (const Row& row : kRows) {
    wchar_t value[260] = {};
    WebmendDefaultSetting(row.name, value);
    EXPECT_EQ(std::wstring(Shipped(row)), value) << row.name;
  }
}

TEST_F(Webmend, EachSettingReadsAndWritesItsOwnValue) {
  CreateAllKeys();
  int index = 0;
  for (const Row& row : kRows) {
    std::wstring text = L"value " + std::to_wstring(index++);
    EXPECT_EQ(0, WebmendSetSetting(row.name, text.c_str())) << row.name;
  }
  index = 0;
  for (const Row& row : kRows) {
    std::wstring text = L"value " + std::to_wstring(index++);
    EXPECT_EQ(text, test::ReadString(row.root, Path(row), row.value)) << row.name;
    EXPECT_EQ(DWORD(REG_SZ), test::ValueType(row.root, Path(row), row.value)) << row.name;
    EXPECT_EQ((text.size() + 1) * sizeof(wchar_t), test::ReadRaw(row.root, Path(row), row.value).size());
    wchar_t read[260] = {};
    EXPECT_EQ(0, WebmendGetSetting(row.name, read));
    EXPECT_EQ(text, read) << row.name;
  }
}

TEST_F(Webmend, WritingReplacesAnExpandableStringWithAPlainOne) {
  CreateAllKeys();
  const Row& localPage = kRows[3];
  Store(localPage, L"%SystemRoot%\\x.htm", REG_EXPAND_SZ);
  EXPECT_EQ(L"%SystemRoot%\\x.htm", Get(localPage.name));  // read as it stands, unexpanded
  WebmendSetSetting(localPage.name, L"%SystemRoot%\\system32\\blank.htm");
  EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_CURRENT_USER, Path(localPage), L"Local Page"));
}

TEST_F(Webmend, MissingKeysAreNeitherReadNorCreated) {
  for (const Row& row : kRows) {
    EXPECT_EQ(L"keep", Get(row.name)) << row.name;
    EXPECT_NE(0, WebmendSetSetting(row.name, L"x")) << row.name;
  }
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kBrowser));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kBrowser));
}

TEST_F(Webmend, AMissingValueEqualsOnlyAnEmptyDefault) {
  CreateAllKeys();
  for (const Row& row : kRows) {
    bool emptyDefault = *Shipped(row) == L'\0';
    EXPECT_EQ(emptyDefault ? 1 : 0, WebmendCompare(row.name)) << row.name;
  }
  const Row& startPage = kRows[0];
  Store(startPage, L"http://unwanted.example/");
  EXPECT_EQ(0, WebmendCompare(startPage.name));
  Store(startPage, Shipped(startPage));
  EXPECT_EQ(1, WebmendCompare(startPage.name));
}

TEST_F(Webmend, RepairingWithTheDefaultMakesEverySettingEqual) {
  CreateAllKeys();
  for (const Row& row : kRows) Store(row, L"\"http://unwanted.example/?q=%s\"");
  for (const Row& row : kRows) {
    EXPECT_EQ(0, WebmendCompare(row.name)) << row.name;
    wchar_t shipped[260] = {};
    WebmendDefaultSetting(row.name, shipped);
    WebmendSetSetting(row.name, shipped);
    EXPECT_EQ(1, WebmendCompare(row.name)) << row.name;
  }
}

TEST_F(Webmend, QuotesDoNotCountInTheComparison) {
  CreateAllKeys();
  const Row& blank = kRows[16];
  Store(blank, L"\"res://mshtml.dll/blank.htm\"");
  EXPECT_EQ(1, WebmendCompare(blank.name));
  Store(blank, L"res://mshtml.dll/\"blank\".htm");
  EXPECT_EQ(1, WebmendCompare(blank.name));
  Store(blank, L"RES://MSHTML.DLL/BLANK.HTM");  // case counts
  EXPECT_EQ(0, WebmendCompare(blank.name));
}

TEST_F(Webmend, NamesMatchWholeAndCaseSensitively) {
  CreateAllKeys();
  for (const wchar_t* name : {L"start page", L"START PAGE", L"Start Page ", L"Start", L"Start Page (all users", L"",
                              L"Main\\Start Page"}) {
    EXPECT_EQ(L"keep", Get(name)) << name;
    EXPECT_EQ(L"keep", Default(name)) << name;
    WebmendSetSetting(name, L"written");
    EXPECT_EQ(1, WebmendCompare(name)) << name;
  }
  for (const Row& row : kRows) EXPECT_FALSE(test::ValueExists(row.root, Path(row), row.value)) << row.name;
}

TEST_F(Webmend, OnlyWholeTerminatedStringsThatFitAreRead) {
  CreateAllKeys();
  const Row& startPage = kRows[0];
  const Row& searchPage = kRows[1];
  user_.SetDword(L"Main", L"Start Page", 1);
  EXPECT_EQ(L"keep", Get(startPage.name));
  const BYTE binary[] = {'h', 0, 't', 0, 't', 0, 'p', 0, 0, 0};
  user_.SetRaw(L"Main", L"Search Page", REG_BINARY, binary, sizeof(binary));
  EXPECT_EQ(L"keep", Get(searchPage.name));
  EXPECT_EQ(0, WebmendCompare(searchPage.name));  // not empty in either generation
  Store(startPage, std::wstring(260, L'x'));  // one character too many for the buffer
  EXPECT_EQ(L"keep", Get(startPage.name));
  Store(startPage, std::wstring(259, L'y'));
  EXPECT_EQ(std::wstring(259, L'y'), Get(startPage.name));
}

TEST_F(Webmend, NullPointersAreRefused) {
  CreateAllKeys();
  const Row& startPage = kRows[0];
  Store(startPage, L"before");
  EXPECT_EQ(0, WebmendGetSetting(startPage.name, nullptr));
  EXPECT_EQ(0, WebmendDefaultSetting(startPage.name, nullptr));
  EXPECT_NE(0, WebmendSetSetting(startPage.name, nullptr));
  EXPECT_EQ(L"before", test::ReadString(HKEY_CURRENT_USER, Path(startPage), L"Start Page"));
  EXPECT_EQ(L"keep", Get(nullptr));
  EXPECT_EQ(L"keep", Default(nullptr));
  EXPECT_NE(0, WebmendSetSetting(nullptr, L"x"));
  EXPECT_EQ(1, WebmendCompare(nullptr));
}

TEST_F(Webmend, EveryWriteIsUndoneExactlyByItsJournal) {
  CreateAllKeys();
  const Row& startPage = kRows[0];
  const Row& searchPage = kRows[1];
  Store(startPage, L"http://my.own.start/page");  // a custom Start Page; the Search Page is absent
  const std::wstring main = std::wstring(L"HKEY_CURRENT_USER\\") + kBrowser + L"\\Main";
  const std::vector<char> before = hstest::ExportKey(main);
  for (const Row* row : {&startPage, &searchPage}) EXPECT_EQ(0, WebmendSetSetting(row->name, L"http://shipped/"));
  ASSERT_TRUE(hstest::ImportFile(undo_));
  EXPECT_EQ(L"http://my.own.start/page", Get(startPage.name));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, Path(searchPage), searchPage.value));
  EXPECT_TRUE(hstest::ExportKey(main) == before);
}

TEST_F(Webmend, AWriteWhoseUndoCannotBeKeptIsNotMade) {
  CreateAllKeys();
  const Row& startPage = kRows[0];
  Store(startPage, L"http://my.own.start/page");
  ASSERT_TRUE(test::WriteFile(scratch_ / L"taken", "a file where the journal's folder would be"));
  const std::wstring unwritable = scratch_ / L"taken\\undo.reg";
  WebmendSetUndoFile(unwritable.c_str());
  EXPECT_NE(0, WebmendSetSetting(startPage.name, L"http://shipped/"));
  EXPECT_EQ(L"http://my.own.start/page", Get(startPage.name));
}

}  // namespace

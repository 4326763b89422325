// The options page in the real main window: the settings boxes through the real Options library,
// and the update check, by hand and automatic, against a server of the test's own.
#include <winsock2.h>  // before windows.h, for the test server
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "base/exclusions.h"
#include "contracts/messages.h"
#include "pages/options/clean_schedule.h"
#include "pages/options/options_dlg.h"
#include "pages/options/options_ids.h"
#include "pages/options/update_check.h"
#include "tests/pages_options/loopback_server.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pump.h"
#include "tests/support/registry_sandbox.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kSettingsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";
const wchar_t kNoConnection[] = L"No Internet connection detected, please try to connect to the internet again.";
const wchar_t kUpToDate[] = L"There are no updates available at this time.\nYour KeepLumaspan is up-to-date.";
const wchar_t kUnreadable[] =
    L"The update information could not be read.\nPlease try again later, or visit the Lumaspan web site.";

std::wstring Offer(const std::wstring& latest) {
  return L"KeepLumaspan the latest version is " + latest + L"\nyou use the version is 3.1.1.10079\nDo you want update now?";
}

// What "Yes" opened, and for which window.
volatile LONG sitesOpened = 0;
HWND siteOwner = nullptr;
void RecordSite(HWND owner) {
  siteOwner = owner;
  InterlockedIncrement(&sitesOpened);
}

DWORD deadlineSeconds = options_page::kUpdateDeadlineSeconds;

class TestOptionsDlg : public COptionsDlg {
 protected:
  options_page::UpdateRequest NewUpdateRequest() const override {
    options_page::UpdateRequest request = COptionsDlg::NewUpdateRequest();
    request.deadlineSeconds = deadlineSeconds;
    request.openSite = &RecordSite;
    return request;
  }
};

class TestMainDlg : public CMainDlg {
 public:
  explicit TestMainDlg(PageTable table) : CMainDlg(table) {}

 protected:
  void OpenUrl(const wchar_t*) override {}
  void ShowAbout() override {}
  void RunSplash() override {}
};

class OptionsPage : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(L"C:\\Lumaspan");  // the staged program folder: the real skin
    PageTable real = DefaultPageTable();
    slots_.assign(real.slots, real.slots + real.count);
    for (PageSlot& slot : slots_) {
      if (slot.id == page_id::kOptions) slot.create = &MakePage<TestOptionsDlg>;
    }
    main_ = std::make_unique<TestMainDlg>(PageTable{slots_.data(), slots_.size()});
    deadlineSeconds = options_page::kUpdateDeadlineSeconds;
    sitesOpened = 0;
    ASSERT_TRUE(server_.listening());
    UpdateFrom("/none");  // an automatic check a case starts by the way asks the test's server
  }
  void TearDown() override {
    // A check still running would outlive the window it speaks to.
    test::PumpUntil([] { return !options_page::UpdateCheckRunning(); }, 60000);
    main_.reset();
    SetCurrentDirectoryW(previous_);
  }

  COptionsDlg* Open() {
    EXPECT_TRUE(main_->Create(nullptr));
    EXPECT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000));
    SendMessageW(main_->hwnd(), page_id::kOptions, 0, 0);
    test::PumpFor(20);
    auto* page = dynamic_cast<COptionsDlg*>(main_->PageOf(page_id::kOptions));
    EXPECT_TRUE(page && IsWindowVisible(page->hwnd()));
    return page;
  }
  static void Click(COptionsDlg* page, int id) {
    SendMessageW(GetDlgItem(page->Tab1().hwnd(), id), BM_CLICK, 0, 0);
  }
  void UpdateFrom(const std::string& path) {
    settings_.SetString(L"", L"UpdateURL", server_.Url(path));
  }
  // Clicks "Check for Update" and waits for the answer and the end of the check.
  test::SeenBox CheckAndWait(COptionsDlg* page) {
    size_t before = boxes_.count();
    Click(page, IDC_CHECK_UPDATE);
    EXPECT_TRUE(boxes_.WaitForCount(before + 1, 60000));
    EXPECT_TRUE(test::PumpUntil([] { return !options_page::UpdateCheckRunning(); }, 10000));
    std::vector<test::SeenBox> seen = boxes_.seen();
    return seen.size() > before ? seen[before] : test::SeenBox();
  }

  test::RegistrySandbox run_{HKEY_CURRENT_USER, kRunKey};
  test::RegistrySandbox settings_{HKEY_CURRENT_USER, kSettingsKey};
  test::LoopbackServer server_;
  test::MessageBoxWatcher boxes_{IDNO};
  std::unique_ptr<TestMainDlg> main_;

 private:
  wchar_t previous_[MAX_PATH] = {};
  std::vector<PageSlot> slots_;
};

TEST_F(OptionsPage, BoxesStoreEachClickAndShowWhatIsStored) {
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  HWND tab = page->Tab1().hwnd();
  Click(page, IDC_STARTUP_RUN);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunKey, L"Lumaspan"));
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(tab, IDC_STARTUP_RUN));
  Click(page, IDC_STARTUP_RUN);
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunKey, L"Lumaspan"));
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(tab, IDC_STARTUP_RUN));

  Click(page, IDC_LIVE_UPDATE);
  EXPECT_NE(0u, test::ReadRaw(HKEY_CURRENT_USER, kSettingsKey, L"LiveUpdate").size());
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(tab, IDC_LIVE_UPDATE));
  EXPECT_EQ(0u, boxes_.count());
}

TEST_F(OptionsPage, TheExclusionsTabListsAddsFoldersButNoDriveAndRemoves) {
  test::RegistrySandbox store(HKEY_CURRENT_USER, base::kExclusionsKey);
  base::AddExclusion({base::ExclusionKind::kFile, L"C:\\Temp\\a.tmp"});
  base::AddExclusion({base::ExclusionKind::kRegistry, base::RegistryIdentity(3, L"HKEY_CURRENT_USER\\Key", L"v")});
  store.SetDword(L"", L"C:\\Dword", 1);
  store.SetString(L"", L"C:\\Long", std::wstring(10000, L'x'));
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  HWND tabs = GetDlgItem(page->hwnd(), IDC_OPTIONS_TAB);
  ASSERT_EQ(2, TabCtrl_GetItemCount(tabs));
  TabCtrl_SetCurSel(tabs, 1);
  NMHDR change = {tabs, IDC_OPTIONS_TAB, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(page->hwnd(), WM_NOTIFY, IDC_OPTIONS_TAB, reinterpret_cast<LPARAM>(&change));
  COptionsExclusionsDlg& tab = page->ExclusionsTab();
  EXPECT_TRUE(IsWindowVisible(tab.hwnd()));
  EXPECT_FALSE(IsWindowVisible(page->Tab1().hwnd()));
  auto rows = [&] {
    std::vector<std::wstring> rows;
    for (int i = 0; i < tab.List().RowCount(); ++i) rows.push_back(tab.List().Text(i, 0) + L" " + tab.List().Text(i, 1));
    std::sort(rows.begin(), rows.end());
    return rows;
  };
  EXPECT_EQ((std::vector<std::wstring>{L"File C:\\Temp\\a.tmp", L"Registry HKEY_CURRENT_USER\\Key [v]"}), rows());

  EXPECT_FALSE(tab.AddFolder(L"T:\\"));
  ASSERT_EQ(1u, boxes_.count());
  EXPECT_NE(std::wstring::npos, boxes_.seen()[0].text.find(L"A whole drive cannot be excluded"));
  EXPECT_TRUE(tab.AddFolder(L"C:\\Keep\\"));
  EXPECT_EQ((std::vector<std::wstring>{L"File C:\\Temp\\a.tmp", L"Folder C:\\Keep",
                                       L"Registry HKEY_CURRENT_USER\\Key [v]"}),
            rows());

  SendMessageW(GetDlgItem(tab.hwnd(), IDC_EXCLUSION_REMOVE), BM_CLICK, 0, 0);
  ASSERT_EQ(2u, boxes_.count());
  EXPECT_EQ(L"Please select the exclusion to remove.", boxes_.seen()[1].text);
  for (int i = 0; i < tab.List().RowCount(); ++i) {
    if (tab.List().Text(i, 1) == L"C:\\Keep") ListView_SetItemState(tab.List().hwnd(), i, LVIS_SELECTED, LVIS_SELECTED);
  }
  SendMessageW(GetDlgItem(tab.hwnd(), IDC_EXCLUSION_REMOVE), BM_CLICK, 0, 0);
  EXPECT_EQ(2u, boxes_.count());
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, base::kExclusionsKey, L"C:\\Keep"));
  EXPECT_EQ(2u, rows().size());
}

TEST_F(OptionsPage, TheCheckBoxesShowTheStoredSettingsWhenThePageIsMade) {
  settings_.SetDword(L"", L"LiveUpdate", 1);
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page->Tab1().hwnd(), IDC_STARTUP_RUN));
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page->Tab1().hwnd(), IDC_LIVE_UPDATE));
}

// One address throughout: a cache on the way must not hand an earlier answer back.
TEST_F(OptionsPage, EachAnswerOfTheUpdateFileGivesItsMessage) {
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  UpdateFrom("/Update.log");
  struct Case {
    int status;
    const char* body;
    std::wstring text;
  };
  const Case cases[] = {
      {200, "3.2.0.0\r\n", Offer(L"3.2.0.0")},
      {200, "3.1.1.10079\r\n", kUpToDate},
      {200, "3.1.1.9999\r\n", kUpToDate},         // older, though it sorts after as text
      {200, "3.1.1.10079 \r\n", kUpToDate},       // blanks around the version
      {200, "3.1.1.10080", Offer(L"3.1.1.10080")},  // no line end
      {200, "<html><body>Moved</body></html>\r\n", kUnreadable},
      {200, "", kUnreadable},
      {404, "", kUnreadable},  // the server's error page
  };
  for (const Case& c : cases) {
    if (c.status == 404) {
      UpdateFrom("/missing/Update.log");
    } else {
      server_.Serve("/Update.log", c.status, c.body);
    }
    test::SeenBox box = CheckAndWait(page);
    EXPECT_EQ(L"Lumaspan", box.caption) << c.body;
    EXPECT_EQ(c.text, box.text) << c.body;
  }
  EXPECT_EQ(0, sitesOpened);

  UpdateFrom("/Update.log");
  server_.Serve("/Update.log", 200, "4.0.0.1\r\n");
  boxes_.Answer({IDYES});
  test::SeenBox box = CheckAndWait(page);
  EXPECT_EQ(Offer(L"4.0.0.1"), box.text);
  EXPECT_EQ(1, sitesOpened);
  EXPECT_EQ(main_->hwnd(), siteOwner);
}

TEST_F(OptionsPage, NoServerMeansNoConnection) {
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  std::wstring url;
  {
    test::LoopbackServer gone;
    url = gone.Url("/Update.log");
  }
  settings_.SetString(L"", L"UpdateURL", url);
  EXPECT_EQ(kNoConnection, CheckAndWait(page).text);
}

TEST_F(OptionsPage, ASilentServerIsGivenUpAtTheDeadlineAndOnlyOneCheckRuns) {
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  deadlineSeconds = 2;
  server_.Hang("/Update.log");
  UpdateFrom("/Update.log");
  Click(page, IDC_CHECK_UPDATE);
  ASSERT_TRUE(test::PumpUntil([&] { return server_.Requests("/Update.log") == 1; }, 10000));
  Click(page, IDC_CHECK_UPDATE);  // while the first waits: nothing
  ASSERT_TRUE(boxes_.WaitForCount(1, 60000));
  EXPECT_EQ(kNoConnection, boxes_.seen()[0].text);
  EXPECT_TRUE(test::PumpUntil([] { return !options_page::UpdateCheckRunning(); }, 10000));
  test::PumpFor(500);
  EXPECT_EQ(1u, boxes_.count());
  EXPECT_EQ(1, server_.Requests("/Update.log"));
}

// The program's own start: a few seconds after the home page, a quiet check when the setting is on.
TEST_F(OptionsPage, TheAutomaticCheckSpeaksOnlyOfANewerVersion) {
  settings_.SetDword(L"", L"LiveUpdate", 1);
  server_.Serve("/same.log", 200, "3.1.1.10079\r\n");
  UpdateFrom("/same.log");
  ASSERT_TRUE(main_->Create(nullptr));
  ASSERT_TRUE(test::PumpUntil([&] { return server_.Requests("/same.log") == 1; }, 30000));
  EXPECT_TRUE(test::PumpUntil([] { return !options_page::UpdateCheckRunning(); }, 30000));
  test::PumpFor(200);
  EXPECT_EQ(0u, boxes_.count());

  server_.Serve("/newer.log", 200, "3.1.2.0\r\n");
  UpdateFrom("/newer.log");
  options_page::StartQuietUpdateCheck(main_->hwnd());
  ASSERT_TRUE(boxes_.WaitForCount(1, 60000));
  EXPECT_EQ(Offer(L"3.1.2.0"), boxes_.seen()[0].text);

  settings_.SetDword(L"", L"LiveUpdate", 0);
  EXPECT_TRUE(test::PumpUntil([] { return !options_page::UpdateCheckRunning(); }, 10000));
  options_page::StartQuietUpdateCheck(main_->hwnd());
  EXPECT_FALSE(options_page::UpdateCheckRunning());
  EXPECT_EQ(1, server_.Requests("/newer.log"));
}

// The schedule is off at first; the box registers the task, a change of frequency or of what is
// cleaned changes it, and the box cleared removes it; the tab shows what was stored.
TEST_F(OptionsPage, AutomaticCleaningIsOffAtFirstAndItsControlsRegisterChangeAndRemoveTheTask) {
  using options_page::SchedulerApi;
  options_page::RemoveScheduledTask(SchedulerApi::kAuto);
  COptionsDlg* page = Open();
  ASSERT_TRUE(page);
  HWND tab = page->Tab1().hwnd(), frequency = GetDlgItem(tab, IDC_CLEAN_FREQUENCY);
  options_page::RegisteredTask task;
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(tab, IDC_CLEAN_AUTO));
  EXPECT_FALSE(IsWindowEnabled(frequency));
  EXPECT_FALSE(options_page::ReadScheduledTask(SchedulerApi::kAuto, &task));

  Click(page, IDC_CLEAN_AUTO);
  EXPECT_TRUE(options_page::ReadScheduledTask(SchedulerApi::kAuto, &task));
  EXPECT_TRUE(IsWindowEnabled(frequency));
  SendMessageW(frequency, CB_SETCURSEL, 1, 0);
  SendMessageW(tab, WM_COMMAND, MAKEWPARAM(IDC_CLEAN_FREQUENCY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(frequency));
  Click(page, IDC_CLEAN_REGISTRY);
  task = options_page::RegisteredTask();
  ASSERT_TRUE(options_page::ReadScheduledTask(SchedulerApi::kAuto, &task));
  // Under Wine a weekly task is the XP scheduler's, which gives everything back.
  ASSERT_TRUE(task.actionKnown && task.triggerKnown);
  EXPECT_EQ(options_page::Frequency::kWeekly, task.frequency);
  EXPECT_EQ(0u, task.program.rfind(L"C:\\LumaspanTests\\LumaspanCmd.exe"));
  EXPECT_EQ(0u, task.arguments.find(L"clean --junk --traces --registry --quiet --report \"C:\\LumaspanTests\\Logs\\"));
  options_page::CleanSchedule stored = options_page::LoadSchedule();
  EXPECT_TRUE(stored.enabled && stored.registry && stored.frequency == options_page::Frequency::kWeekly);

  Click(page, IDC_CLEAN_AUTO);
  EXPECT_FALSE(options_page::ReadScheduledTask(SchedulerApi::kAuto, &task));
  EXPECT_FALSE(options_page::LoadSchedule().enabled);
  EXPECT_FALSE(IsWindowEnabled(frequency));
  EXPECT_EQ(0u, boxes_.count());
}

}  // namespace

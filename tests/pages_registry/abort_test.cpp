// Aborting a registry scan that runs for seconds, and reports the page must refuse or ignore.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "contracts/messages.h"
#include "pages/home_registry/resource.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/pump.h"

namespace {

using regtest::RegistryCleaner;

constexpr int kClasses = 3000;

int ListCount(CHivescrubResultsDlg* results) {
  return static_cast<int>(SendMessageW(results->list(), LB_GETCOUNT, 0, 0));
}

void ClickAbort(CHivescrubScanDlg* scan) { SendMessageW(GetDlgItem(scan->hwnd(), IDC_ABORT), BM_CLICK, 0, 0); }

TEST_F(RegistryCleaner, AbortPausesWhileAskedCancelGoesOnAndOkShowsTheRowsSoFar) {
  regtest::BrokenClasses classes(kClasses);
  boxes_.reset();  // the questions are held open and answered here
  regtest::ReportSpy spy(page().hwnd());
  SelectOnly({1});
  StartScan();
  CHivescrubResultsDlg* results = page().resultsPage();
  ASSERT_TRUE(test::PumpUntil([&] { return ListCount(results) >= 20; }, 60000));

  // While it scans: the menu is locked and the scan page stands where the start page was.
  ASSERT_EQ(CHivescrubStartDlg::kScanningView, page().viewState());
  EXPECT_TRUE(MenuLocked());
  EXPECT_FALSE(Visible(page().hwnd()));
  EXPECT_TRUE(Visible(page().scanPage()->hwnd()));
  EXPECT_FALSE(Visible(results->hwnd()));
  RECT area = {};
  GetWindowRect(page().scanPage()->hwnd(), &area);
  MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&area), 2);
  EXPECT_EQ(206, area.left);
  EXPECT_EQ(106, area.top);
  EXPECT_EQ(CHivescrubScanDlg::Icon::kScanning, page().scanPage()->IconOf(1));
  EXPECT_EQ(1, page().scanPage()->currentCategory());

  // Cancel: while the question is open nothing is taken and every report is answered "again".
  int before = ListCount(results);
  size_t reportsBefore = spy.seen().size();
  int whileOpen = -1;
  {
    regtest::DelayedAnswer cancel(IDCANCEL, 400, [&] { whileOpen = ListCount(results); });
    ClickAbort(page().scanPage());
    cancel.Wait();
    EXPECT_TRUE(cancel.answered());
    EXPECT_EQ(L"Are you sure to stop scanning?", cancel.text());
  }
  EXPECT_EQ(before, whileOpen);
  int resent = 0;
  for (size_t i = reportsBefore; i < spy.seen().size(); ++i) resent += spy.seen()[i].reply == report_reply::kResend ? 1 : 0;
  EXPECT_GE(resent, 2) << "the worker kept asking while the question was open";
  EXPECT_EQ(CHivescrubStartDlg::kScanningView, page().viewState());
  ASSERT_TRUE(test::PumpUntil([&] { return ListCount(results) >= before + 20; }, 60000)) << "the scan goes on";

  // OK: the results at once, with what was reported before the answer.
  {
    regtest::DelayedAnswer ok(IDOK, 50);
    ClickAbort(page().scanPage());
  }
  EXPECT_EQ(CHivescrubStartDlg::kResultsView, page().viewState());
  EXPECT_TRUE(Visible(results->hwnd()));
  EXPECT_FALSE(Visible(page().scanPage()->hwnd()));
  EXPECT_FALSE(MenuLocked());
  int kept = ListCount(results);
  size_t reportsAtStop = spy.seen().size();
  test::PumpFor(500);
  EXPECT_EQ(kept, ListCount(results));
  EXPECT_LT(kept, kClasses);
  EXPECT_EQ(static_cast<size_t>(kept), page().problems().size());
  EXPECT_LE(spy.seen().size(), reportsAtStop + 1) << "the engine stops at the first refused report";
  for (size_t i = reportsAtStop; i < spy.seen().size(); ++i) EXPECT_EQ(report_reply::kStop, spy.seen()[i].reply);

  // Clean repairs exactly the rows shown.
  boxes_ = std::make_unique<test::MessageBoxWatcher>(IDOK);
  std::set<std::wstring> listed;
  for (const std::wstring& row : Rows()) listed.insert(row.substr(0, row.find(L'|')));
  EXPECT_EQ(static_cast<size_t>(kept), listed.size());
  SendMessageW(GetDlgItem(results->hwnd(), IDC_CLEAN), BM_CLICK, 0, 0);
  int gone = 0;
  for (int i = 0; i < kClasses; ++i) {
    bool wasListed = listed.count(classes.Title(i)) != 0;
    EXPECT_EQ(!wasListed, classes.Exists(i)) << i;
    gone += classes.Exists(i) ? 0 : 1;
  }
  EXPECT_EQ(kept, gone);
}

TEST_F(RegistryCleaner, AScanStartedRightAfterAnAbortTakesNothingOfTheAbortedOne) {
  regtest::BrokenClasses classes(2000);
  SelectOnly({1});
  StartScan();
  ASSERT_TRUE(test::PumpUntil([&] { return ListCount(page().resultsPage()) >= 20; }, 60000));
  ClickAbort(page().scanPage());  // answered OK: the worker is told to stop at its next report
  ASSERT_EQ(CHivescrubStartDlg::kResultsView, page().viewState());
  // Back and a new scan at once: nothing has been pumped since the answer, so the aborted worker is
  // still waiting to send its report again when the new scan is asked to open.
  SendMessageW(page().hwnd(), page_msg::kRegistryBack, 0, 0);
  SelectOnly({3});
  Click(IDC_START_SCAN);
  SendMessageW(page().hwnd(), page_msg::kRegistryStart, 0, 0);
  ASSERT_TRUE(WaitForResults());
  EXPECT_EQ(0, ListCount(page().resultsPage()));
  EXPECT_TRUE(page().problems().empty());
  EXPECT_EQ(0, page().scanPage()->problemsIn(1));
}

TEST_F(RegistryCleaner, ReportsWithoutTwoSeparatorsOrOfOtherKindsAddNothing) {
  auto send = [&](ULONG_PTR kind, const wchar_t* text) {
    COPYDATASTRUCT data = {kind, static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)), const_cast<wchar_t*>(text)};
    LRESULT reply = SendMessageW(page().hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    EXPECT_EQ(kind, data.dwData) << "the sender's report is left as it was, to be sent again";
    return reply;
  };
  EXPECT_EQ(report_reply::kStop, send(10000, L"before any scan")) << "no scan of the page's own: stop";

  regtest::BrokenClasses classes(2000);
  SelectOnly({1});
  StartScan();
  CHivescrubResultsDlg* results = page().resultsPage();
  ASSERT_TRUE(test::PumpUntil([&] { return ListCount(results) >= 5; }, 60000));
  // Reports sent from this thread are handled at once, between the worker's.
  int rows = ListCount(results);
  EXPECT_EQ(report_reply::kGoOn, send(10003, L"no separator"));
  EXPECT_EQ(report_reply::kGoOn, send(10003, L"303|only one"));
  EXPECT_EQ(report_reply::kGoOn, send(10031, L"303|r|beyond|the kinds"));
  EXPECT_EQ(report_reply::kGoOn, send(9999, L"303|r|below|the kinds"));
  EXPECT_EQ(rows, ListCount(results));
  EXPECT_EQ(static_cast<size_t>(rows), page().problems().size());
  EXPECT_EQ(report_reply::kGoOn, send(10003, L"303|DeleteValue;HKEY_CURRENT_USER\\Nowhere;x|Title|Detail"));
  EXPECT_EQ(rows + 1, ListCount(results));
  EXPECT_EQ(L"Title|Detail", page().resultsPage()->RowText(rows));
  EXPECT_EQ(303, page().problems().back().id);

  ClickAbort(page().scanPage());  // answered OK
  ASSERT_EQ(CHivescrubStartDlg::kResultsView, page().viewState());
  std::vector<std::wstring> shown = Rows();
  ASSERT_EQ(shown.size(), page().problems().size());
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(page().problems()[i].display, shown[i]) << i;
  EXPECT_EQ(report_reply::kStop, send(10001, L"101|late|report|after the stop"));
}

}  // namespace

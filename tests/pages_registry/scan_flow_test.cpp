// The registry cleaner's whole flow with the real engine: start, scan, results, repair, back; what
// the engine finds becomes rows, and Clean repairs exactly those rows.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "contracts/messages.h"
#include "pages/home_registry/resource.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/pump.h"

namespace {

using regtest::RegistryCleaner;

const std::wstring kEvents = L"AppEvents\\Schemes\\Apps\\LumaspanTest";
const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Event sounds (category 3) whose files are missing: one problem per event.
class BrokenSounds {
 public:
  explicit BrokenSounds(std::initializer_list<const wchar_t*> events) : sandbox_(HKEY_CURRENT_USER, kEvents) {
    for (const wchar_t* event : events)
      sandbox_.SetString(std::wstring(event) + L"\\.Current", nullptr, files_ / (std::wstring(event) + L".wav"));
  }
  static std::wstring Key(const wchar_t* event) { return kEvents + L"\\" + event + L"\\.Current"; }
  static std::wstring Title(const wchar_t* event) { return L"HKEY_CURRENT_USER\\" + Key(event) + L" [(Default)]"; }
  static bool Present(const wchar_t* event) { return test::ValueExists(HKEY_CURRENT_USER, Key(event), nullptr); }
  // The event's sound file comes back: its entry is no problem any more.
  void Restore(const wchar_t* event) { files_.Write(std::wstring(event) + L".wav", "RIFF"); }

 private:
  test::ScratchFolder files_;
  test::RegistrySandbox sandbox_;
};

std::wstring TitleOf(const std::wstring& row) { return row.substr(0, row.find(L'|')); }

std::wstring ReadUndoFile(const test::ProgramFolder& program) {
  std::vector<std::wstring> files = hstest::UndoFiles(program);
  if (files.size() != 1) return std::wstring();
  std::ifstream in(files[0].c_str(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

TEST_F(RegistryCleaner, SeededProblemsBecomeRowsInReportOrderWithTheirDisplayTexts) {
  BrokenSounds sounds({L"Gone"});
  test::ScratchFolder files;
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"LumaspanGone", L"\"" + (files / L"gone.exe") + L"\" /min");
  regtest::ReportSpy spy(page().hwnd());

  SelectOnly({7, 3});
  StartScan();
  EXPECT_NE(L"", test::ReadString(HKEY_CURRENT_USER, L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Registry Cleaner",
                                  L"LastScanDate"));
  ASSERT_TRUE(WaitForResults());
  EXPECT_FALSE(MenuLocked());
  EXPECT_FALSE(Visible(page().scanPage()->hwnd()));
  EXPECT_TRUE(Visible(page().resultsPage()->hwnd()));
  EXPECT_EQ((std::vector<int>{3, 7}), spy.CategoriesBegun());

  std::vector<std::wstring> rows = Rows();
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(BrokenSounds::Title(L"Gone"), TitleOf(rows[0]));
  EXPECT_EQ(L"HKEY_CURRENT_USER\\" + kRun + L" [LumaspanGone]", TitleOf(rows[1]));
  ASSERT_EQ(2u, page().problems().size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(page().problems()[i].display, rows[i]);
  EXPECT_EQ(301, page().problems()[0].id);
  EXPECT_EQ(701, page().problems()[1].id);
  EXPECT_EQ(2, page().resultsPage()->problemCount());

  const CHivescrubScanDlg& scan = *page().scanPage();
  EXPECT_EQ(2, scan.problemsFound());
  EXPECT_EQ(100, scan.Percentage());
  EXPECT_EQ(CHivescrubScanDlg::Icon::kProblems, scan.IconOf(3));
  EXPECT_EQ(CHivescrubScanDlg::Icon::kWaiting, scan.IconOf(1));
  EXPECT_EQ(L"Sounds and App Events (1)", scan.CaptionOf(3));
}

TEST_F(RegistryCleaner, ScansOnlyTheSelectedCategoriesInAscendingOrder) {
  regtest::ReportSpy spy(page().hwnd());
  SelectOnly({15, 2, 9});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  EXPECT_EQ((std::vector<int>{2, 9, 15}), spy.CategoriesBegun());
  const CHivescrubScanDlg& scan = *page().scanPage();
  EXPECT_EQ(3, scan.selectedCategories());
  EXPECT_EQ(3, scan.categoriesBegun());
  for (int c : {1, 3, 8, 14}) EXPECT_EQ(CHivescrubScanDlg::Icon::kWaiting, scan.IconOf(c)) << c;
  for (int c : {2, 9}) EXPECT_EQ(CHivescrubScanDlg::Icon::kClean, scan.IconOf(c)) << c;
}

TEST_F(RegistryCleaner, CleanRepairsEveryListedProblemInOrderAndTheUndoFileRestoresThem) {
  const wchar_t* events[] = {L"Alpha", L"Beta", L"Gamma"};
  BrokenSounds sounds({L"Alpha", L"Beta", L"Gamma"});
  SelectOnly({3});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  ASSERT_EQ(3u, Rows().size());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BrokenSounds::Title(events[i]), TitleOf(Rows()[i]));

  boxes_->Answer({IDOK, IDOK});
  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_CLEAN), BM_CLICK, 0, 0);
  std::vector<test::SeenBox> seen = boxes_->seen();
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(L"KeepLumaspan", seen[0].caption);
  EXPECT_EQ(L"Are you sure to remove the item?", seen[0].text);
  EXPECT_EQ(L"KeepLumaspan", seen[1].caption);
  EXPECT_EQ(L"Repair Completed.", seen[1].text);
  for (const wchar_t* event : events) EXPECT_FALSE(BrokenSounds::Present(event)) << testing::PrintToString(event);

  // Repaired first row first: the undo file holds them in row order.
  std::wstring undo = ReadUndoFile(program_);
  size_t alpha = undo.find(BrokenSounds::Key(L"Alpha")), beta = undo.find(BrokenSounds::Key(L"Beta"));
  size_t gamma = undo.find(BrokenSounds::Key(L"Gamma"));
  ASSERT_NE(std::wstring::npos, gamma);
  EXPECT_LT(alpha, beta);
  EXPECT_LT(beta, gamma);

  // Then back to the start view, the sub-pages gone; the list of the scan stays with the page.
  ASSERT_TRUE(test::PumpUntil([&] { return page().viewState() == CHivescrubStartDlg::kStartView; }, 3000));
  EXPECT_TRUE(Visible(page().hwnd()));
  EXPECT_EQ(nullptr, page().scanPage());
  EXPECT_EQ(nullptr, page().resultsPage());
  EXPECT_EQ(3u, page().problems().size());

  ASSERT_TRUE(hstest::ImportFile(hstest::UndoFiles(program_)[0]));
  for (const wchar_t* event : events) EXPECT_TRUE(BrokenSounds::Present(event)) << testing::PrintToString(event);
}

TEST_F(RegistryCleaner, RepairsThatFailStayListedAndAreTold) {
  BrokenSounds sounds({L"Alpha", L"Beta", L"Gamma"});
  SelectOnly({3});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  ASSERT_EQ(3u, Rows().size());
  const std::vector<std::wstring> rows = Rows();
  CHivescrubResultsDlg* results = page().resultsPage();
  auto clean = [&] { SendMessageW(GetDlgItem(results->hwnd(), IDC_CLEAN), BM_CLICK, 0, 0); };

  // The undo folder cannot be made: nothing is changed and every problem stays.
  const std::wstring undoFolder = program_ / L"Backup\\Registry\\Undo";
  ASSERT_TRUE(test::WriteFile(undoFolder, "a file where the folder should be"));
  clean();
  ASSERT_EQ(2u, boxes_->count());
  EXPECT_EQ(L"Nothing was changed because no undo file could be made. Make sure the program's folder can be "
            L"written to, then try again.",
            boxes_->seen()[1].text);
  for (const wchar_t* event : {L"Alpha", L"Beta", L"Gamma"}) EXPECT_TRUE(BrokenSounds::Present(event));
  test::PumpFor(50);
  EXPECT_EQ(CHivescrubStartDlg::kResultsView, page().viewState());
  EXPECT_EQ(rows, Rows());
  EXPECT_EQ(3, results->problemCount());

  // Writable again, with Beta's sound back since the scan: the two others are repaired and leave,
  // Beta stays listed, still its own problem.
  ASSERT_TRUE(DeleteFileW(undoFolder.c_str()));
  sounds.Restore(L"Beta");
  clean();
  ASSERT_EQ(4u, boxes_->count());
  EXPECT_EQ(L"1 of 3 problems could not be repaired. It may have changed since the scan or be protected.",
            boxes_->seen()[3].text);
  EXPECT_FALSE(BrokenSounds::Present(L"Alpha"));
  EXPECT_FALSE(BrokenSounds::Present(L"Gamma"));
  EXPECT_EQ(std::vector<std::wstring>{rows[1]}, Rows());
  EXPECT_EQ(1, results->problemCount());
  ASSERT_EQ(1u, page().problems().size());
  EXPECT_EQ(rows[1], page().problems()[0].display);
}

TEST_F(RegistryCleaner, CancellingTheQuestionLeavesTheListAndTheEntries) {
  BrokenSounds sounds({L"Gone"});
  SelectOnly({3});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  boxes_->Answer({IDCANCEL});
  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_CLEAN), BM_CLICK, 0, 0);
  EXPECT_EQ(1u, boxes_->count());
  test::PumpFor(100);
  EXPECT_TRUE(BrokenSounds::Present(L"Gone"));
  EXPECT_EQ(1u, Rows().size());
  EXPECT_EQ(CHivescrubStartDlg::kResultsView, page().viewState());
  EXPECT_TRUE(hstest::UndoFiles(program_).empty());

  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_BACK), BM_CLICK, 0, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return page().viewState() == CHivescrubStartDlg::kStartView; }, 3000));
  EXPECT_TRUE(Visible(page().hwnd()));
  EXPECT_TRUE(BrokenSounds::Present(L"Gone"));
}

TEST_F(RegistryCleaner, AScanThatFindsNothingStillAsksAndCompletes) {
  SelectOnly({3});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  EXPECT_EQ(0, page().resultsPage()->rowCount());
  EXPECT_EQ(0, page().resultsPage()->problemCount());
  EXPECT_EQ(0, SendMessageW(page().hwnd(), page_msg::kRegistryRepairItem, 0, 0)) << "no problem 0 to repair";
  EXPECT_EQ(0, SendMessageW(page().hwnd(), page_msg::kRegistryRepairItem, 0, -1));
  boxes_->Answer({IDOK, IDOK});
  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_CLEAN), BM_CLICK, 0, 0);
  ASSERT_EQ(2u, boxes_->count());
  EXPECT_EQ(L"Repair Completed.", boxes_->seen()[1].text);
  EXPECT_TRUE(hstest::UndoFiles(program_).empty()) << "nothing was repaired";
  ASSERT_TRUE(test::PumpUntil([&] { return page().viewState() == CHivescrubStartDlg::kStartView; }, 3000));
}

TEST_F(RegistryCleaner, ASecondScanStartsFromAnEmptyListAndRepairsOnlyItsOwnProblems) {
  BrokenSounds sounds({L"First", L"Second"});
  SelectOnly({3});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  ASSERT_EQ(2u, Rows().size());
  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_BACK), BM_CLICK, 0, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return page().viewState() == CHivescrubStartDlg::kStartView; }, 3000));

  test::ScratchFolder files;
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"LumaspanGone", files / L"gone.exe");
  SelectOnly({7});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  ASSERT_EQ(1u, Rows().size());
  ASSERT_EQ(1u, page().problems().size());
  EXPECT_EQ(701, page().problems()[0].id);
  EXPECT_EQ(1, page().resultsPage()->problemCount());

  boxes_->Answer({IDOK, IDOK});
  SendMessageW(GetDlgItem(page().resultsPage()->hwnd(), IDC_CLEAN), BM_CLICK, 0, 0);
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRun, L"LumaspanGone"));
  EXPECT_TRUE(BrokenSounds::Present(L"First"));
  EXPECT_TRUE(BrokenSounds::Present(L"Second"));
}

TEST_F(RegistryCleaner, LeavingThePageAtTheResultsGoesBackToTheStartView) {
  SelectOnly({3});
  StartScan();
  ASSERT_TRUE(WaitForResults());
  HWND results = page().resultsPage()->hwnd();
  SendMessageW(main(), page_id::kJunkCleaner, 0, 0);
  EXPECT_EQ(CHivescrubStartDlg::kStartView, page().viewState());
  EXPECT_EQ(nullptr, page().resultsPage());
  EXPECT_FALSE(IsWindow(results));
  SendMessageW(main(), page_id::kRegistryCleaner, 0, 0);
  EXPECT_TRUE(Visible(page().hwnd()));
  // The boxes keep what was chosen for the last scan.
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page().hwnd(), CHivescrubStartDlg::kCheckIds[3]));
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page().hwnd(), CHivescrubStartDlg::kCheckIds[1]));
}

}  // namespace

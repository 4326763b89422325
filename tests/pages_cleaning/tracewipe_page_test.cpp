// The evidence cleaner page in the real main window with the real Tracewipe: the category tree and
// its rules, the scan of seeded traces through the result page, cleaning only what stays checked,
// and the way back.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "contracts/messages.h"
#include "pages/cleaning/cleaning_ids.h"
#include "pages/cleaning/found_items.h"
#include "pages/cleaning/trace_categories.h"
#include "tests/cleaning/seeded.h"
#include "tests/pages_cleaning/page_host.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"
#include "ui/gdiplus.h"

namespace {

using cleaning_pages::kTraceCategories;
using cleaning_pages::kTraceCategoryTable;
using cleaning_pages::SizeText;
using cleaning_test::Sorted;
using pages_test::CleanerPages;

const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t kRunMruPath[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";

std::wstring TreeText(HWND tree, HTREEITEM node) {
  wchar_t text[260] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node;
  item.pszText = text;
  item.cchTextMax = 260;
  TreeView_GetItem(tree, &item);
  return std::wstring(text) + L"#" + std::to_wstring(item.iImage) + L"/" + std::to_wstring(item.iSelectedImage);
}

class TracePage : public CleanerPages {
 protected:
  CTracewipeStartDlg* Open() {
    Start();
    Show(page_id::kTraceCleaner);
    CTracewipeStartDlg* page = Trace();
    EXPECT_TRUE(page && IsWindowVisible(page->hwnd()));
    if (page) page->SetItemPause(1);
    return page;
  }
  void Choose(CTracewipeStartDlg* page, std::initializer_list<int> categories) {
    Press(page->hwnd(), 120, 405);  // "Clear All"
    for (int index : categories) page->SetNodeChecked(page->CategoryNode(index), true);
  }
  int CheckedNodes(CTracewipeStartDlg* page) {
    int n = 0;
    for (int g = 0; g < cleaning_pages::kTraceGroups; ++g) n += page->IsNodeChecked(page->GroupNode(g));
    for (int i = 0; i < kTraceCategories; ++i) n += page->IsNodeChecked(page->CategoryNode(i));
    return n;
  }
  // Clicks a node's check box with the mouse.
  void ClickBox(CTracewipeStartDlg* page, HTREEITEM node) {
    HWND tree = page->Tree();
    TreeView_EnsureVisible(tree, node);
    RECT label = {};
    ASSERT_TRUE(TreeView_GetItemRect(tree, node, &label, TRUE));
    TVHITTESTINFO hit = {};
    hit.pt.y = (label.top + label.bottom) / 2;
    for (hit.pt.x = 0; hit.pt.x < label.left; ++hit.pt.x) {
      if (TreeView_HitTest(tree, &hit) == node && (hit.flags & TVHT_ONITEMSTATEICON)) break;
    }
    ASSERT_LT(hit.pt.x, label.left) << "no check box found";
    ClickAt(tree, POINT{hit.pt.x + 3, hit.pt.y});
  }
  void ClickAt(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    test::PumpFor(60);
  }
};

TEST_F(TracePage, TheTreeHoldsTheSevenGroupsAndTheirCategoriesAllChecked) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  HWND tree = page->Tree();
  EXPECT_EQ(60u, TreeView_GetCount(tree));
  EXPECT_EQ(60, CheckedNodes(page));
  // The browsers of today after Firefox and before the plug-ins, each group with its own picture.
  const int order[] = {0, 1, 2, 4, 5, 6, 3};
  const wchar_t* groups[] = {L"Windows#1/1",       L"Internet Explorer#2/2", L"Mozilla Firefox#3/3",
                             L"Google Chrome#5/5", L"Microsoft Edge#6/6",    L"Other Browsers#7/7",
                             L"Plug-ins#4/4"};
  HTREEITEM group = TreeView_GetRoot(tree);
  for (int at = 0; at < 7; ++at, group = TreeView_GetNextSibling(tree, group)) {
    ASSERT_EQ(page->GroupNode(order[at]), group);
    EXPECT_EQ(groups[at], TreeText(tree, group));
    EXPECT_TRUE(TreeView_GetItemState(tree, group, TVIS_EXPANDED) & TVIS_EXPANDED);
  }
  EXPECT_EQ(nullptr, group);
  EXPECT_EQ(8, ImageList_GetImageCount(TreeView_GetImageList(tree, TVSIL_NORMAL)));
  // Each group's categories under it in the order of the engine's index.
  int count = 0;
  for (int g = 0; g < cleaning_pages::kTraceGroups; ++g) {
    int last = -1;
    for (HTREEITEM c = TreeView_GetChild(tree, page->GroupNode(g)); c; c = TreeView_GetNextSibling(tree, c), ++count) {
      int index = 0;
      while (index < kTraceCategories && page->CategoryNode(index) != c) ++index;
      ASSERT_LT(index, kTraceCategories);
      EXPECT_GT(index, last);
      last = index;
      EXPECT_EQ(kTraceCategoryTable[index].group, g);
      EXPECT_EQ(std::wstring(kTraceCategoryTable[index].text) + L"#0/0", TreeText(tree, c));
    }
  }
  EXPECT_EQ(kTraceCategories, count);
  EXPECT_EQ(std::wstring(L"Windows Common Dialog - File/Folder Lists"), kTraceCategoryTable[2].text);
  EXPECT_EQ(std::wstring(L"WinRAR"), kTraceCategoryTable[32].text);
  EXPECT_EQ(std::wstring(L"Google Chrome - History"), kTraceCategoryTable[38].text);
  EXPECT_EQ(std::wstring(L"Other Browsers - Passwords"), kTraceCategoryTable[52].text);
  EXPECT_EQ(page->GroupNode(0), TreeView_GetSelection(tree));
  EXPECT_EQ(L"Not Scanned", page->LastScanText());
}

TEST_F(TracePage, AGroupBoxSetsItsCategoriesAndACategoryBoxOnlyItself) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  ClickBox(page, page->GroupNode(1));  // "Internet Explorer" off: its six categories follow
  EXPECT_FALSE(page->IsNodeChecked(page->GroupNode(1)));
  for (int i = 12; i <= 17; ++i) EXPECT_FALSE(page->IsNodeChecked(page->CategoryNode(i))) << i;
  EXPECT_EQ(60 - 7, CheckedNodes(page));

  ClickBox(page, page->CategoryNode(14));  // one category back on: the group stays as it is
  EXPECT_TRUE(page->IsNodeChecked(page->CategoryNode(14)));
  EXPECT_FALSE(page->IsNodeChecked(page->GroupNode(1)));
  EXPECT_EQ(60 - 6, CheckedNodes(page));

  ClickBox(page, page->GroupNode(1));  // the group on again: all of its categories
  for (int i = 12; i <= 17; ++i) EXPECT_TRUE(page->IsNodeChecked(page->CategoryNode(i))) << i;
  EXPECT_EQ(60, CheckedNodes(page));

  // A click on a group's name selects it and changes no box.
  RECT label = {};
  TreeView_EnsureVisible(page->Tree(), page->GroupNode(3));
  TreeView_GetItemRect(page->Tree(), page->GroupNode(3), &label, TRUE);
  ClickAt(page->Tree(), POINT{label.left + 5, (label.top + label.bottom) / 2});
  EXPECT_EQ(page->GroupNode(3), TreeView_GetSelection(page->Tree()));
  EXPECT_EQ(60, CheckedNodes(page));

  // The space bar on a selected group toggles its box, and its categories follow.
  SetFocus(page->Tree());
  PostMessageW(page->Tree(), WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(page->Tree(), WM_KEYUP, VK_SPACE, 0);
  test::PumpFor(60);
  EXPECT_FALSE(page->IsNodeChecked(page->GroupNode(3)));
  for (int i = 25; i <= 32; ++i) EXPECT_FALSE(page->IsNodeChecked(page->CategoryNode(i))) << i;
  EXPECT_EQ(60 - 9, CheckedNodes(page));
}

TEST_F(TracePage, TheLinksSelectAndClearEveryNode) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Press(page->hwnd(), 100, 405);  // "Clear All" begins at 97
  EXPECT_EQ(0, CheckedNodes(page));
  Press(page->hwnd(), 80, 405);   // between the links: nothing
  EXPECT_EQ(0, CheckedNodes(page));
  Press(page->hwnd(), 22, 400);   // "Select All"
  EXPECT_EQ(60, CheckedNodes(page));
  Press(page->hwnd(), 145, 417);  // the last pixel of "Clear All"
  EXPECT_EQ(0, CheckedNodes(page));
  SendMessageW(page->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SELECT_ALL, BN_CLICKED), 0);
  EXPECT_EQ(60, CheckedNodes(page));

  // The hand over a link, the arrow elsewhere.
  for (POINT p : {POINT{30, 405}, POINT{120, 410}, POINT{300, 405}}) {
    POINT screen = p;
    ClientToScreen(page->hwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(page->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(page->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    bool hand = GetCursor() == LoadCursorW(nullptr, IDC_HAND);
    EXPECT_EQ(p.x < 200, hand) << p.x;
  }
}

TEST_F(TracePage, NothingChosenIsToldAndStartsNothing) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Press(page->hwnd(), 120, 405);
  test::MessageBoxWatcher boxes;
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(L"Lumaspan", boxes.seen()[0].caption);
  EXPECT_EQ(L"Please select at least one option from the list that needs to be scanned for evidence files.",
            boxes.seen()[0].text);
  test::PumpFor(50);
  EXPECT_EQ(nullptr, page->ResultPage());
  EXPECT_EQ(page_id::kTraceCleaner, page->State());
  EXPECT_FALSE(MenuLocked());
  EXPECT_TRUE(IsWindowVisible(page->hwnd()));
  EXPECT_EQ(L"Not Scanned", page->LastScanText());  // no scan, no scan time
}

TEST_F(TracePage, ACategoryThatFindsNothingEndsWithTheCompletionHeader) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Choose(page, {5});  // "Windows Logo History"
  Click(page->hwnd(), IDC_START_SCAN);
  EXPECT_TRUE(MenuLocked());
  ASSERT_TRUE(WaitFinished(page));
  CTracewipeScanDlg* results = page->ScanPage();
  EXPECT_EQ(0, results->List().RowCount());
  EXPECT_EQ(L"Analysis is complete", results->Title());
  EXPECT_EQ(L"The analysis of evidence files is complete, please click \"Clean\" to clean evidence files.",
            results->Subtitle());
  EXPECT_EQ(L"All total of 0 Evidence Files that take up " + SizeText(0), results->CounterLine());
  EXPECT_FALSE(MenuLocked());
  // The category list the worker got: every category with its group, only index 5 chosen.
  ASSERT_EQ(53u, page->Categories().size());
  for (int i = 0; i < kTraceCategories; ++i) {
    EXPECT_EQ(kTraceCategoryTable[i].group, page->Categories()[i].group);
    EXPECT_EQ(i == 5 ? 1 : 0, page->Categories()[i].selected);
  }
  EXPECT_NE(L"Not Scanned", page->LastScanText());  // the scan time was recorded
}

TEST_F(TracePage, SeededTracesAreListedAndOnlyTheCheckedOnesAreCleaned) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"notepad\\1");
  run.SetString(L"", L"b", L"calc\\1");
  run.SetString(L"", L"MRUList", L"ba");
  std::wstring recent = test::ShellFolder(CSIDL_RECENT);
  ASSERT_FALSE(recent.empty());
  cleaning_test::SeededFiles files(recent);
  files.Write(L"pages-test-one.lnk", "one");
  files.Write(L"pages-test-sub\\pages-test-two.lnk", "second");

  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Choose(page, {0, 1});  // Recent documents and the Run history
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(MenuLocked());
  test::PumpUntil([&] { return page->ResultPage() != nullptr; }, 5000);
  EXPECT_EQ(page_msg::kTraceStart, page->State());
  EXPECT_FALSE(IsWindowVisible(page->hwnd()));
  ASSERT_TRUE(WaitFinished(page));
  EXPECT_FALSE(MenuLocked());
  CTracewipeScanDlg* results = page->ScanPage();

  // The rows as the Path column shows them: a file's folder, a key whole.
  std::vector<std::wstring> rows = Rows(results);
  auto has = [&](const std::wstring& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
  EXPECT_TRUE(has(L"a|" + std::wstring(kRunMruPath) + L"|" + SizeText(18)));
  EXPECT_TRUE(has(L"b|" + std::wstring(kRunMruPath) + L"|" + SizeText(12)));
  EXPECT_TRUE(has(L"MRUList|" + std::wstring(kRunMruPath) + L"|" + SizeText(4)));
  EXPECT_TRUE(has(L"pages-test-one.lnk|" + recent + L"\\|" + SizeText(3)));
  EXPECT_TRUE(has(L"pages-test-two.lnk|" + recent + L"\\pages-test-sub\\|" + SizeText(6)));
  ASSERT_EQ(rows.size(), page->FoundItems().size());
  uint64_t total = 0;
  for (const auto& item : page->FoundItems()) total += item.size;
  EXPECT_EQ(total, page->TotalSize());
  EXPECT_EQ(L"All total of " + std::to_wstring(rows.size()) + L" Evidence Files that take up " + SizeText(total),
            results->CounterLine());
  for (int i = 0; i < results->List().RowCount(); ++i) EXPECT_TRUE(results->List().IsChecked(i)) << i;
  HWND r = results->hwnd();
  EXPECT_FALSE(Visible(r, IDC_ABORT));
  EXPECT_TRUE(Visible(r, IDC_BACK));
  EXPECT_TRUE(Visible(r, IDC_CLEAN));

  // Clean with nothing checked: told, nothing removed.
  test::MessageBoxWatcher boxes;
  CheckOnly(results, {});
  Click(r, IDC_CLEAN);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(L"You haven't selected any, please select items to clean.", boxes.seen()[0].text);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));

  // Cancel at the question: nothing removed either.
  CheckOnly(results, {L"a", L"pages-test-two.lnk"});
  boxes.Answer({IDCANCEL});
  Click(r, IDC_CLEAN);
  ASSERT_EQ(2u, boxes.count());
  EXPECT_EQ(L"Are you sure to remove the item?", boxes.seen()[1].text);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_TRUE(test::FileExists(recent + L"\\pages-test-sub\\pages-test-two.lnk"));

  // OK: the checked ones go, the rest stay.
  Click(r, IDC_CLEAN);
  ASSERT_EQ(4u, boxes.count());
  EXPECT_EQ(L"Remove Completed.", boxes.seen()[3].text);
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"b"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"MRUList"));
  EXPECT_FALSE(test::FileExists(recent + L"\\pages-test-sub\\pages-test-two.lnk"));
  EXPECT_TRUE(test::FileExists(recent + L"\\pages-test-one.lnk"));

  // Then back to the start view.
  ASSERT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));
  EXPECT_EQ(page_id::kTraceCleaner, page->State());
  EXPECT_TRUE(IsWindowVisible(page->hwnd()));
  EXPECT_TRUE(page->FoundItems().empty());
}

TEST_F(TracePage, AnItemThatCannotBeRemovedIsToldAndStaysListedWhileTheRemovedOnesGo) {
  std::wstring recent = test::ShellFolder(CSIDL_RECENT);
  ASSERT_FALSE(recent.empty());
  cleaning_test::SeededFiles files(recent);
  files.Write(L"pages-gone-one.lnk", "1");
  files.Write(L"pages-gone-two.lnk", "22");
  std::wstring held = files.Write(L"pages-held.lnk", "held");

  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Choose(page, {0});  // Recent documents
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  CTracewipeScanDlg* results = page->ScanPage();
  ASSERT_EQ(3, results->List().RowCount());

  test::MessageBoxWatcher boxes;
  {
    cleaning_test::HeldFile holder(held);
    ASSERT_TRUE(holder.holding());
    Click(results->hwnd(), IDC_CLEAN);
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ(L"Lumaspan", boxes.seen()[1].caption);
    EXPECT_EQ(L"1 of 3 items could not be removed. It may be in use, protected or already gone.", boxes.seen()[1].text);
    EXPECT_FALSE(test::FileExists(recent + L"\\pages-gone-one.lnk"));
    EXPECT_FALSE(test::FileExists(recent + L"\\pages-gone-two.lnk"));
    EXPECT_TRUE(test::FileExists(held));
    // Only the held row is left, checked as before, and the totals are of it alone.
    test::PumpFor(50);
    ASSERT_EQ(page->ScanPage(), results) << "the result page stays";
    EXPECT_EQ((std::vector<std::wstring>{L"pages-held.lnk|" + recent + L"\\|" + SizeText(4)}), Rows(results));
    EXPECT_TRUE(results->List().IsChecked(0));
    EXPECT_EQ(4u, page->TotalSize());
    EXPECT_EQ(L"All total of 1 Evidence Files that take up " + SizeText(4), results->CounterLine());
  }
  // Let go, it is removed on the next try and the page closes.
  Click(results->hwnd(), IDC_CLEAN);
  ASSERT_EQ(4u, boxes.count());
  EXPECT_EQ(L"Remove Completed.", boxes.seen()[3].text);
  EXPECT_FALSE(test::FileExists(held));
  EXPECT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));
}

TEST_F(TracePage, SavedPasswordsAreAskedAboutOnceMoreAndARunningBrowserIsNamed) {
  test::ScratchFolder scratch;
  const std::wstring local = scratch / L"Local";
  ASSERT_TRUE(test::MakeFolders(local));
  cleaning_test::ShellFolderOverride localOverride(L"Local AppData", local);
  const std::wstring profile = L"Local\\Google\\Chrome\\User Data\\Default\\";
  const std::wstring logins = scratch.Write(profile + L"Login Data", "pw");
  const std::wstring history = scratch.Write(profile + L"History", "hist");
  const std::wstring visited = scratch.Write(profile + L"Visited Links", "v");

  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Choose(page, {38, 42});  // Google Chrome's history and saved passwords
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  CTracewipeScanDlg* results = page->ScanPage();
  ASSERT_EQ(3, results->List().RowCount());

  test::MessageBoxWatcher boxes;
  boxes.Answer({IDOK, IDCANCEL});
  cleaning_test::HeldFile holder(history);  // the browser is at work
  ASSERT_TRUE(holder.holding());
  Click(results->hwnd(), IDC_CLEAN);
  ASSERT_EQ(3u, boxes.count());
  EXPECT_EQ(L"Are you sure to remove the item?", boxes.seen()[0].text);
  EXPECT_EQ(L"The selection includes saved passwords. They cannot be restored. Remove them too?", boxes.seen()[1].text);
  EXPECT_EQ(L"1 of 2 items could not be removed. It may be in use, protected or already gone.\n\n"
            L"Google Chrome is running and keeps its files open. Close it and click \"Clean\" again.",
            boxes.seen()[2].text);
  EXPECT_TRUE(test::FileExists(logins));
  EXPECT_TRUE(test::FileExists(history));
  EXPECT_FALSE(test::FileExists(visited));
  test::PumpFor(50);
  const std::wstring folder = scratch / profile;
  EXPECT_EQ(Sorted({L"History|" + folder + L"|" + SizeText(4), L"Login Data|" + folder + L"|" + SizeText(2)}),
            Sorted(Rows(results)));
}

TEST_F(TracePage, BackLeavesEverythingAndASecondStartDuringAScanDoesNothing) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Choose(page, {5});
  Click(page->hwnd(), IDC_START_SCAN);
  Click(page->hwnd(), IDC_START_SCAN);  // before the first start is handled
  ASSERT_TRUE(WaitFinished(page));
  cleaning_pages::CCleaningResultsDlg* results = page->ResultPage();
  test::MessageBoxWatcher boxes;
  Click(page->hwnd(), IDC_START_SCAN);  // the hidden start page while the result page is open
  PostMessageW(page->hwnd(), page_msg::kTraceStart, 0, 0);
  test::PumpFor(100);
  EXPECT_EQ(results, page->ResultPage());
  EXPECT_EQ(page_msg::kTraceStart, page->State());
  EXPECT_EQ(0u, boxes.count());
  EXPECT_FALSE(MenuLocked());

  Click(results->hwnd(), IDC_BACK);
  ASSERT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));
  EXPECT_EQ(page_id::kTraceCleaner, page->State());
  EXPECT_TRUE(IsWindowVisible(page->hwnd()));

  // Leaving the page for another resets it, result page and all.
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  Show(page_id::kJunkCleaner);
  EXPECT_EQ(nullptr, page->ResultPage());
  EXPECT_EQ(page_id::kTraceCleaner, page->State());
  Show(page_id::kTraceCleaner);
  EXPECT_TRUE(IsWindowVisible(page->hwnd()));
}

TEST_F(TracePage, TheResultPageDrawsItsHeaderOnTheWhitePage) {
  CTracewipeStartDlg* page = Open();
  ASSERT_TRUE(page);
  Choose(page, {5});
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  HWND r = page->ResultPage()->hwnd();
  RECT at = {};
  GetWindowRect(r, &at);
  MapWindowPoints(nullptr, main_->hwnd(), reinterpret_cast<POINT*>(&at), 2);
  EXPECT_EQ(206, at.left);
  EXPECT_EQ(106, at.top);
  EXPECT_EQ(779, at.right);
  EXPECT_EQ(538, at.bottom);
  RECT clean = {};
  GetWindowRect(GetDlgItem(r, IDC_CLEAN), &clean);
  MapWindowPoints(nullptr, r, reinterpret_cast<POINT*>(&clean), 2);
  EXPECT_EQ(415, clean.left);
  EXPECT_EQ(387, clean.top);
  RECT list = {};
  GetWindowRect(page->ResultPage()->List().hwnd(), &list);
  MapWindowPoints(nullptr, r, reinterpret_cast<POINT*>(&list), 2);
  EXPECT_EQ(9, list.left);
  EXPECT_EQ(83, list.top);
  EXPECT_EQ(551, list.right - list.left);
  EXPECT_EQ(253, list.bottom - list.top);

  test::Capture c = test::Capture::Print(r);
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(RGB(255, 255, 255), c.At(300, 370));
  EXPECT_EQ(RGB(0, 141, 66), c.At(300, 0));    // the accent lines
  EXPECT_EQ(RGB(0, 141, 66), c.At(572, 200));
  EXPECT_EQ(RGB(0, 141, 66), c.At(300, 431));
  ui::GpBitmap picture = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Evidence_Clean_Dlg_Top.png");
  ASSERT_TRUE(ui::Usable(picture.get()));
  Gdiplus::Color pixel;
  picture->GetPixel(32, 32, &pixel);
  EXPECT_EQ(RGB(pixel.GetR(), pixel.GetG(), pixel.GetB()), c.At(9 + 32, 8 + 32));
  EXPECT_GT(c.Count(RECT{81, 5, 300, 24}, RGB(0, 110, 52)), 40);  // the title
}

}  // namespace

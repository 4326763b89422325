// The browser add-on manager page over a seeded registry: what it lists and how, ticking with the
// links and the hidden box, and Remove with its questions and messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "contracts/tools.h"
#include "pages/managers/addonward_ids.h"
#include "pages/managers/addonward_start_dlg.h"
#include "tests/addonward/addon_registry.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/program_folder.h"
#include "tests/support/pump.h"

namespace {

using addon_test::AddonRegistry;
using addon_test::View;

std::wstring Id(int n) {
  wchar_t id[64];
  swprintf(id, 64, L"{4C554D41-0000-4000-8000-%012X}", n);
  return id;
}

class AddonPage : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 460, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(frame_);
  }
  void TearDown() override {
    page_.reset();
    DestroyWindow(frame_);
  }

  void Open() {
    page_ = std::make_unique<CAddonwardStartDlg>();
    ASSERT_TRUE(page_->Create(frame_));
    ShowWindow(page_->hwnd(), SW_SHOW);
  }

  // Each row as "name|type|path", with "+" in front when it is ticked.
  std::vector<std::wstring> Rows() {
    std::vector<std::wstring> rows;
    ui::CheckListView& list = page_->List();
    for (int i = 0; i < list.RowCount(); ++i)
      rows.push_back((list.IsChecked(i) ? L"+" : L"") + list.Text(i, 0) + L"|" + list.Text(i, 1) + L"|" +
                     list.Text(i, 2));
    return rows;
  }

  void Tick(const std::vector<std::wstring>& names) {
    ui::CheckListView& list = page_->List();
    for (int i = 0; i < list.RowCount(); ++i)
      for (const std::wstring& name : names)
        if (list.Text(i, 0) == name) list.SetChecked(i, true);
  }

  void Press(UINT message, int x, int y) { SendMessageW(page_->hwnd(), message, 0, MAKELPARAM(x, y)); }

  // Presses Remove; the watcher answers the boxes. Returns the texts of the boxes shown.
  std::vector<std::wstring> Remove(test::MessageBoxWatcher& boxes) {
    size_t before = boxes.count();
    SendMessageW(GetDlgItem(page_->hwnd(), IDC_ADDONWARD_REMOVE), BM_CLICK, 0, 0);
    test::PumpFor(20);
    std::vector<std::wstring> texts;
    std::vector<test::SeenBox> seen = boxes.seen();
    for (size_t i = before; i < seen.size(); ++i) {
      EXPECT_EQ(L"Lumaspan", seen[i].caption);
      texts.push_back(seen[i].text);
    }
    return texts;
  }

  test::ProgramFolder program_{test::ProgramFolder::Layout::Bare};
  AddonRegistry addons_;
  HWND frame_ = nullptr;
  std::unique_ptr<CAddonwardStartDlg> page_;
};

TEST_F(AddonPage, ListsEveryNamedAddonOnceWithItsTypeAndPathUnticked) {
  addons_.Class(Id(1), L"Lumaspan Bar", L"C:\\bar.dll");
  addons_.Toolbar(Id(1));
  addons_.Class(Id(2), nullptr, L"C:\\nameless.dll");  // a class without a name is not listed
  addons_.Toolbar(Id(2));
  addons_.Toolbar(Id(3));  // no such class
  addons_.Toolbar(std::wstring(10000, L'x'));
  addons_.Class(Id(4), L"Long", std::wstring(10000, L'p'));
  addons_.Toolbar(Id(4));
  addons_.Extension(Id(11), L"Lumaspan Tools", nullptr, L"C:\\tools.ico");
  addons_.Extension(Id(12), L"", L"Lumaspan Menu", L"C:\\menu.ico");
  addons_.Extension(Id(13), nullptr, nullptr, L"C:\\nothing.ico");
  addons_.Extension(Id(14), nullptr, nullptr, nullptr);
  addons_.Sandbox(L"Extensions").SetDword(Id(14), L"ButtonText", 5);
  addons_.MenuExt(L"&Lumaspan", L"");
  addons_.Class(Id(21), L"Lumaspan Helper", L"C:\\helper.dll");
  addons_.Helper(Id(21), L"Own name");
  addons_.Helper(Id(22), L"Own Name");
  addons_.Helper(Id(23), nullptr);
  std::vector<std::wstring> expected = {
      L"Lumaspan Bar|Toolbar|C:\\bar.dll",      L"Long|Toolbar|" + std::wstring(259, L'p'),
      L"Lumaspan Tools|Extensions|C:\\tools.ico", L"Lumaspan Menu|Extensions|C:\\menu.ico",
      L"&Lumaspan|MenuExt|",                    L"Lumaspan Helper|BHO|C:\\helper.dll",
      L"Own Name|BHO|"};
  if (AddonRegistry::Has32BitView()) {
    addons_.Toolbar(Id(1), View::k32Bit);  // in both views: one add-on
    addons_.Class(Id(31), L"Lumaspan 32", L"C:\\x86\\helper.dll", View::k32Bit);
    addons_.Helper(Id(31), nullptr, View::k32Bit);
    expected.push_back(L"Lumaspan 32|BHO|C:\\x86\\helper.dll");
  }
  Open();
  EXPECT_EQ(expected, Rows());
}

TEST_F(AddonPage, LinksAndTheHiddenBoxTickOrUntickEveryRow) {
  for (const wchar_t* name : {L"One", L"Two", L"Three"}) addons_.MenuExt(name, L"C:\\x.htm");
  Open();
  RECT list = {};
  GetWindowRect(page_->List().hwnd(), &list);
  MapWindowPoints(nullptr, page_->hwnd(), reinterpret_cast<POINT*>(&list), 2);
  RECT expected = CheckWindowsVersion() == 5 ? RECT{8, 53, 563, 385} : RECT{6, 56, 561, 388};
  EXPECT_TRUE(EqualRect(&expected, &list)) << list.left << "," << list.top << " " << list.right << "," << list.bottom;
  auto ticked = [this] {
    int n = 0;
    for (int i = 0; i < page_->List().RowCount(); ++i) n += page_->List().IsChecked(i) ? 1 : 0;
    return n;
  };
  Press(WM_LBUTTONDOWN, 30, 405);
  EXPECT_EQ(3, ticked());
  Press(WM_RBUTTONDOWN, 100, 405);
  EXPECT_EQ(0, ticked());
  Press(WM_LBUTTONDOWN, 85, 405);  // between the links
  EXPECT_EQ(0, ticked());
  Press(WM_MOUSEMOVE, 60, 410);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  Press(WM_MOUSEMOVE, 85, 410);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());

  HWND box = GetDlgItem(page_->hwnd(), IDC_ADDONWARD_SELECT_ALL);
  EXPECT_FALSE(IsWindowVisible(box));
  CheckDlgButton(page_->hwnd(), IDC_ADDONWARD_SELECT_ALL, BST_CHECKED);
  SendMessageW(page_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDONWARD_SELECT_ALL, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(3, ticked());
  CheckDlgButton(page_->hwnd(), IDC_ADDONWARD_SELECT_ALL, BST_UNCHECKED);
  SendMessageW(page_->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDONWARD_SELECT_ALL, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(0, ticked());
}

TEST_F(AddonPage, RemoveAsksAndRemovesExactlyTheTickedRows) {
  addons_.Class(Id(1), L"Lumaspan Bar", L"C:\\bar.dll");
  addons_.Toolbar(Id(1));
  for (const wchar_t* name : {L"Alpha", L"Beta", L"Gamma"}) addons_.MenuExt(name, L"C:\\x.htm");
  addons_.Helper(Id(21), L"Helper");
  Open();
  std::vector<std::wstring> all = Rows();
  ASSERT_EQ(5u, all.size());
  test::MessageBoxWatcher boxes;

  ListView_SetItemState(page_->List().hwnd(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(std::vector<std::wstring>{L"Please choose one of the list above to remove the item."}, Remove(boxes));

  Tick({L"Alpha"});
  boxes.Answer({IDCANCEL});
  EXPECT_EQ(std::vector<std::wstring>{L"Are you sure to remove the item?"}, Remove(boxes));
  EXPECT_EQ(5u, Rows().size()) << "cancelled, nothing removed";

  Tick({L"Beta", L"Lumaspan Bar"});  // Alpha is still ticked from before: a refill unticks
  std::vector<std::wstring> done = {L"Are you sure to remove the item?", L"Remove Completed."};
  EXPECT_EQ(done, Remove(boxes));
  EXPECT_EQ((std::vector<std::wstring>{L"Gamma|MenuExt|C:\\x.htm", L"Helper|BHO|"}), Rows());
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, addons_.Sandbox(L"MenuExt").Sub(L"Gamma")));

  std::vector<std::wstring> undo = hstest::RegFiles(program_ / L"Backup\\Addons");
  ASSERT_EQ(1u, undo.size());
  ASSERT_TRUE(hstest::ImportFile(undo[0]));
  page_->Refill();
  EXPECT_EQ(all, Rows()) << "the undo file brings the removed add-ons back";
}

TEST_F(AddonPage, RemoveSaysHowManyAddonsCouldNotBeRemoved) {
  // Names a menu extension may have but that are no plain key name: the remover refuses them.
  for (const wchar_t* name : {L"Good", L"Send/Receive", L"Up/Down"}) addons_.MenuExt(name, L"C:\\x.htm");
  Open();
  test::MessageBoxWatcher boxes;
  Tick({L"Good", L"Send/Receive", L"Up/Down"});
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to remove the item?", L"2 add-ons could not be removed."}),
            Remove(boxes));
  Tick({L"Up/Down"});
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to remove the item?", L"1 add-on could not be removed."}),
            Remove(boxes));
  EXPECT_EQ(2u, Rows().size());
}

TEST_F(AddonPage, FiveHundredAddonsAreListedAndRemoved) {
  for (int i = 0; i < 500; ++i) addons_.MenuExt(L"Entry " + std::to_wstring(1000 + i), L"C:\\x.htm");
  Open();
  EXPECT_EQ(500, page_->List().RowCount());
  Press(WM_LBUTTONDOWN, 30, 405);
  test::MessageBoxWatcher boxes;
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to remove the item?", L"Remove Completed."}), Remove(boxes));
  EXPECT_EQ(0, page_->List().RowCount());
}

}  // namespace

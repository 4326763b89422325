// The folder tree against real folders of the test prefix: what it shows, when it loads, and the
// paths it gives back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/controls/host.h"
#include "tests/support/pump.h"
#include "tests/support/scratch.h"
#include "ui/controls/ex_tree_view.h"

namespace {

struct Node {
  HTREEITEM item;
  std::wstring text;
  int children;  // the has-children mark
  int image;
};

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

Node Read(HWND tree, HTREEITEM item) {
  wchar_t text[MAX_PATH * 2] = {};
  TVITEMW tv = {};
  tv.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_IMAGE;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH * 2;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return Node{item, tv.pszText, tv.cChildren, tv.iImage};
}

std::vector<Node> Children(HWND tree, HTREEITEM parent) {
  std::vector<Node> nodes;
  for (HTREEITEM i = Next(tree, parent, TVGN_CHILD); i; i = Next(tree, i, TVGN_NEXT)) nodes.push_back(Read(tree, i));
  return nodes;
}

Node Child(HWND tree, HTREEITEM parent, const std::wstring& text) {
  for (const Node& node : Children(tree, parent))
    if (node.text == text) return node;
  return Node{nullptr, L"", 0, 0};
}

// Expands or collapses an item as the user does, from the keyboard, so that the tree asks again
// every time (an expansion by message asks only the first time).
void Key(HWND tree, HTREEITEM item, UINT key) {
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageW(tree, WM_KEYDOWN, key, 0);
  SendMessageW(tree, WM_KEYUP, key, 0);
  test::PumpFor(10);
}

class ExTreeViewTest : public testing::Test {
 protected:
  void SetUp() override {
    folder.Write(L"Sub\\x.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
    folder.MakeFolder(L"Empty");
    folder.Write(L"OnlyText\\y.txt");
    folder.Write(L"Upper\\Z.URL");
    folder.MakeFolder(L"Nested\\Deep");
    folder.Write(L"a.url");
    folder.Write(L"b.txt");
    folder.Write(L"C.URL");
    ASSERT_TRUE(tree.Bind(host.page().Item(1002)));
    EXPECT_TRUE(tree.SetSystemImageList());
    tree.SetRoot(folder.path());
    tree.SetFilter(L".url");
    tree.Reload();
  }
  HWND h() const { return tree.hwnd(); }
  HTREEITEM root() const { return Next(h(), nullptr, TVGN_ROOT); }

  test::ScratchFolder folder;
  test::Host host;
  ui::CExTreeView tree;
};

TEST_F(ExTreeViewTest, ShowsFoldersFirstThenOnlyFilesEndingInTheFilter) {
  Node top = Read(h(), root());
  EXPECT_EQ(folder.path(), top.text);
  EXPECT_EQ(1, top.children);
  EXPECT_EQ(nullptr, Next(h(), root(), TVGN_NEXT));  // one root
  std::vector<Node> level = Children(h(), root());
  ASSERT_EQ(6u, level.size());
  std::set<std::wstring> folders;
  for (size_t i = 0; i < 5; ++i) folders.insert(level[i].text);
  EXPECT_EQ((std::set<std::wstring>{L"Sub", L"Empty", L"OnlyText", L"Upper", L"Nested"}), folders);
  EXPECT_EQ(L"a.url", level[5].text);  // not b.txt, not C.URL
  EXPECT_EQ(0, level[5].children);

  // The expand button comes from a look one level down, without loading anything.
  EXPECT_EQ(1, Child(h(), root(), L"Sub").children);
  EXPECT_EQ(0, Child(h(), root(), L"Empty").children);
  EXPECT_EQ(0, Child(h(), root(), L"OnlyText").children);
  EXPECT_EQ(0, Child(h(), root(), L"Upper").children);  // Z.URL does not pass ".url"
  EXPECT_EQ(1, Child(h(), root(), L"Nested").children);
  for (const Node& node : level) EXPECT_TRUE(Children(h(), node.item).empty()) << node.text.c_str();

  EXPECT_TRUE(SendMessageW(h(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  EXPECT_NE(Child(h(), root(), L"Sub").image, level[5].image);  // a folder's icon is not a file's
  EXPECT_EQ(folder / L"a.url", tree.GetItemPath(level[5].item));
  EXPECT_EQ(folder.path(), tree.GetItemPath(root()));
}

TEST_F(ExTreeViewTest, FillsAFolderOnceWhenItIsFirstExpanded) {
  HTREEITEM sub = Child(h(), root(), L"Sub").item;
  Key(h(), sub, VK_RIGHT);
  std::vector<Node> inside = Children(h(), sub);
  ASSERT_EQ(1u, inside.size());
  EXPECT_EQ(L"x.url", inside[0].text);
  EXPECT_TRUE(SendMessageW(h(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(sub), TVIS_EXPANDED) & TVIS_EXPANDED);

  Key(h(), sub, VK_LEFT);
  EXPECT_FALSE(SendMessageW(h(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(sub), TVIS_EXPANDED) & TVIS_EXPANDED);
  Key(h(), sub, VK_RIGHT);
  SendMessageW(h(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(sub));
  EXPECT_EQ(1u, Children(h(), sub).size());

  SendMessageW(h(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(inside[0].item));
  EXPECT_EQ(folder / L"Sub\\x.url", tree.GetSelectedPath());

  HTREEITEM nested = Child(h(), root(), L"Nested").item;
  Key(h(), nested, VK_RIGHT);
  Node deep = Child(h(), nested, L"Deep");
  ASSERT_TRUE(deep.item);
  EXPECT_EQ(0, deep.children);
  EXPECT_EQ(folder / L"Nested\\Deep", tree.GetItemPath(deep.item));
}

TEST_F(ExTreeViewTest, HidingFilesReloadsWithFoldersOnly) {
  tree.SetShowFiles(false);
  std::vector<Node> level = Children(h(), root());
  EXPECT_EQ(5u, level.size());
  EXPECT_EQ(0, Child(h(), root(), L"Sub").children);  // its only entry is a file
  EXPECT_EQ(1, Child(h(), root(), L"Nested").children);

  tree.SetShowFiles(true);
  tree.SetFilter(L"");
  tree.Reload();
  EXPECT_EQ(8u, Children(h(), root()).size());  // every file without a filter
  EXPECT_EQ(1, Child(h(), root(), L"OnlyText").children);
}

TEST_F(ExTreeViewTest, AMissingRootGivesOnlyTheRootItem) {
  std::wstring missing = folder / L"not here";
  tree.SetRoot(missing);
  tree.Reload();
  EXPECT_EQ(1, SendMessageW(h(), TVM_GETCOUNT, 0, 0));
  Node top = Read(h(), root());
  EXPECT_EQ(missing, top.text);
  EXPECT_EQ(0, top.children);
  Key(h(), root(), VK_RIGHT);
  EXPECT_EQ(1, SendMessageW(h(), TVM_GETCOUNT, 0, 0));
  EXPECT_EQ(missing, tree.GetSelectedPath());

  tree.SetRoot(L"");
  tree.Reload();
  EXPECT_EQ(1, SendMessageW(h(), TVM_GETCOUNT, 0, 0));
}

TEST_F(ExTreeViewTest, AFolderThatVanishedBeforeItsExpansionLosesItsButton) {
  HTREEITEM sub = Child(h(), root(), L"Sub").item;
  ASSERT_TRUE(test::DeleteTree(folder / L"Sub"));
  Key(h(), sub, VK_RIGHT);
  EXPECT_TRUE(Children(h(), sub).empty());
  EXPECT_EQ(0, Read(h(), sub).children);
  EXPECT_EQ(7, SendMessageW(h(), TVM_GETCOUNT, 0, 0));
}

TEST_F(ExTreeViewTest, LongNamesAndARootEndingInABackslash) {
  // A folder whose own path fits MAX_PATH while the paths of its entries do not.
  std::wstring longName(250 - folder.path().size(), L'n');
  std::wstring longFolder = folder.MakeFolder(longName);
  ASSERT_LT(longFolder.size(), static_cast<size_t>(MAX_PATH));
  std::wstring inner = longFolder + L"\\" + std::wstring(60, L'f') + L".url";
  ASSERT_TRUE(test::WriteFile(inner, ""));
  tree.SetRoot(folder.path() + L"\\");
  tree.Reload();
  Node big = Child(h(), root(), longName);
  ASSERT_TRUE(big.item);
  EXPECT_EQ(longFolder, tree.GetItemPath(big.item));  // no doubled separator after the root
  Key(h(), big.item, VK_RIGHT);
  std::vector<Node> inside = Children(h(), big.item);
  ASSERT_EQ(1u, inside.size());
  EXPECT_EQ(inner, tree.GetItemPath(inside[0].item));
  EXPECT_GT(inner.size(), static_cast<size_t>(MAX_PATH));
  EXPECT_EQ(folder / L"a.url", tree.GetItemPath(Child(h(), root(), L"a.url").item));
}

}  // namespace

// The file shredder page in the real main window with the real Erasemill: files added through the
// system's open dialog, duplicates, Remove, and Erase answered either way, with files that cannot
// be erased; and the reading of a multiple selection.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/main_dlg.h"
#include "app/plain_page.h"
#include "base/handles.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/shredder/erasemill_start_dlg.h"
#include "pages/shredder/file_choice.h"
#include "pages/shredder/shredder_ids.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pump.h"
#include "tests/support/scratch.h"

namespace {

using shredder::SplitSelection;

class TestMainDlg : public CMainDlg {
 public:
  using CMainDlg::CMainDlg;

 protected:
  void OpenUrl(const wchar_t*) override {}
  void ShowAbout() override {}
  void RunSplash() override {}
};

// The real main window with the shredder in its slot and plain pages everywhere else.
class ShredderPage : public testing::Test {
 protected:
  void SetUp() override {
    PageTable real = DefaultPageTable();
    slots_.assign(real.slots, real.slots + real.count);
    for (PageSlot& slot : slots_) {
      if (slot.id != page_id::kFileShredder) slot.create = &MakePage<CPlainPage>;
    }
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(L"C:\\Lumaspan");  // the staged program folder: the real skin
    main_ = std::make_unique<TestMainDlg>(PageTable{slots_.data(), slots_.size()});
    ASSERT_TRUE(main_->Create(nullptr));
    ASSERT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000));
    SendMessageW(main_->hwnd(), page_id::kFileShredder, 0, 0);
    test::PumpFor(20);
    page_ = dynamic_cast<CErasemillStartDlg*>(main_->PageOf(page_id::kFileShredder));
    ASSERT_TRUE(page_ && IsWindowVisible(page_->hwnd()));
  }
  void TearDown() override {
    main_.reset();
    SetCurrentDirectoryW(previous_);
  }

  void Click(int id) { SendMessageW(GetDlgItem(page_->hwnd(), id), BM_CLICK, 0, 0); }
  std::vector<std::wstring> RowPaths() {
    std::vector<std::wstring> rows;
    for (int i = 0; i < page_->List().RowCount(); ++i) rows.push_back(page_->List().Text(i, 0));
    return rows;
  }
  void SelectRow(int row) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = row < 0 ? 0 : LVIS_SELECTED;
    SendMessageW(page_->List().hwnd(), LVM_SETITEMSTATE, row < 0 ? static_cast<WPARAM>(-1) : row,
                 reinterpret_cast<LPARAM>(&item));
  }

  std::unique_ptr<TestMainDlg> main_;
  CErasemillStartDlg* page_ = nullptr;

 private:
  std::vector<PageSlot> slots_;
  wchar_t previous_[MAX_PATH] = {};
};

// Drives the open dialog from another thread as a user would: types the folder and Open, then the
// quoted names and Open.
class OpenDialogUser {
 public:
  OpenDialogUser(std::wstring folder, std::wstring names)
      : thread_([this, folder, names] { done_ = Run(folder, names); }) {}
  ~OpenDialogUser() { thread_.join(); }
  bool done() const { return done_; }

 private:
  static BOOL CALLBACK Match(HWND w, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0 &&
        (GetDlgItem(w, 0x480) || GetDlgItem(w, 0x47C))) {
      *reinterpret_cast<HWND*>(found) = w;
      return FALSE;
    }
    return TRUE;
  }
  static HWND FindDialog() {
    HWND found = nullptr;
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static void Type(HWND dialog, const std::wstring& text) {
    HWND name = GetDlgItem(dialog, 0x47C) ? GetDlgItem(dialog, 0x47C) : GetDlgItem(dialog, 0x480);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  }
  bool Run(const std::wstring& folder, const std::wstring& names) {
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i, Sleep(10)) dialog = FindDialog();
    if (!dialog) return false;
    Type(dialog, folder);
    Sleep(300);
    Type(dialog, names);
    for (int i = 0; i < 500 && IsWindow(dialog); ++i) Sleep(10);
    return !IsWindow(dialog);
  }

  std::atomic<bool> done_{false};
  std::thread thread_;
};

std::wstring CurrentDirectory() {
  wchar_t now[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, now);
  return now;
}

std::wstring SizeText(uint64_t size) {
  wchar_t text[260] = {};
  MakeFileSize(static_cast<DWORD>(size), static_cast<DWORD>(size >> 32), text);
  return text;
}

TEST_F(ShredderPage, AddsAMultipleSelectionFileByFileOnceEach) {
  test::ScratchFolder dir;
  std::wstring a = dir.Write(L"a.txt", "abc");
  std::wstring b = dir.Write(L"b.txt", std::string(2000, 'b'));
  ASSERT_TRUE(SetFileAttributesW(dir.path().c_str(), FILE_ATTRIBUTE_READONLY));  // a read-only folder
  for (int round = 0; round < 2; ++round) {  // the second time, both are listed already
    OpenDialogUser user(dir.path(), L"\"a.txt\" \"b.txt\"");
    Click(IDC_ERASEMILL_ADD);
    test::PumpFor(50);
    EXPECT_EQ(L"C:\\Lumaspan", CurrentDirectory());
  }
  SetFileAttributesW(dir.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ((std::vector<std::wstring>{a, b}), page_->files());
  ASSERT_EQ(page_->files(), RowPaths());
  WIN32_FILE_ATTRIBUTE_DATA facts = {};
  ASSERT_TRUE(GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &facts));
  EXPECT_EQ(SizeText(2000), page_->List().Text(1, 1));
  EXPECT_EQ(shredder::ModifiedText(facts.ftLastWriteTime), page_->List().Text(1, 2));
  // The same file under other letter cases is the same file.
  page_->AddFiles({a, dir.path() + L"\\B.TXT"});
  EXPECT_EQ(2u, page_->files().size());
}

TEST_F(ShredderPage, RemoveTakesTheSelectedRowAndOnlyIt) {
  test::ScratchFolder dir;
  std::wstring large = dir / L"large.bin";
  ASSERT_TRUE(test::WriteSparseFile(large, 5ull << 30));
  std::wstring deep = dir.path() + L"\\" + std::wstring(250, L'x');
  std::wstring other = dir.Write(L"other.txt", "o");
  page_->AddFiles({large, deep + L"\\long.txt", other});
  EXPECT_EQ(SizeText(5ull << 30), page_->List().Text(0, 1));
  EXPECT_EQ(deep + L"\\long.txt", page_->List().Text(1, 0));  // whole, though longer than 260

  test::MessageBoxWatcher boxes;
  SelectRow(-1);
  Click(IDC_ERASEMILL_REMOVE);
  ASSERT_TRUE(boxes.WaitForCount(1, 5000));
  EXPECT_EQ(L"Please choose one of the list above to remove the item.", boxes.seen()[0].text);
  EXPECT_EQ(3u, page_->files().size());
  SelectRow(1);
  Click(IDC_ERASEMILL_REMOVE);
  EXPECT_EQ((std::vector<std::wstring>{large, other}), page_->files());
  EXPECT_EQ(page_->files(), RowPaths());
  EXPECT_EQ(1u, boxes.count());
}

TEST_F(ShredderPage, EraseAsksErasesAndKeepsListedWhatCouldNotBeErased) {
  test::ScratchFolder dir;
  std::wstring plain = dir.Write(L"plain.txt", "secret");
  std::wstring readOnly = dir.Write(L"read-only.txt", "secret too");
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  std::wstring held = dir.Write(L"held.txt", "in use");
  std::wstring vanished = dir.Write(L"vanished.txt", "gone before the erase");
  std::wstring bystander = dir.Write(L"bystander.txt", "never listed");
  page_->AddFiles({plain, held, vanished, readOnly});
  ASSERT_TRUE(DeleteFileW(vanished.c_str()));
  base::UniqueFile open(CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(open);

  test::MessageBoxWatcher boxes;
  boxes.Answer({IDCANCEL});
  Click(IDC_ERASEMILL_ERASE);
  ASSERT_TRUE(boxes.WaitForCount(1, 5000));
  EXPECT_EQ(4u, page_->files().size());
  EXPECT_TRUE(test::FileExists(plain));

  boxes.Answer({IDOK, IDOK});
  Click(IDC_ERASEMILL_ERASE);
  ASSERT_TRUE(boxes.WaitForCount(3, 10000));
  std::vector<test::SeenBox> seen = boxes.seen();
  EXPECT_EQ(L"Lumaspan", seen[1].caption);
  EXPECT_EQ(L"Are you sure to erase the items on the list? You won't able to recover these files using any undelete "
            L"tools you may have. Are you sure to continue?",
            seen[1].text);
  EXPECT_EQ(L"2 files could not be erased (in use or protected). They are still in the list.", seen[2].text);
  EXPECT_EQ((std::vector<std::wstring>{held, vanished}), page_->files());
  EXPECT_EQ(page_->files(), RowPaths());
  EXPECT_FALSE(test::FileExists(plain));
  EXPECT_FALSE(test::FileExists(readOnly));
  EXPECT_TRUE(test::FileExists(held));
  EXPECT_TRUE(test::FileExists(bystander));
  EXPECT_FALSE(main_->Menu().IsLocked());

  // Once the other program lets go, and the vanished file is taken off, everything goes.
  open.reset();
  SelectRow(1);
  Click(IDC_ERASEMILL_REMOVE);
  boxes.Answer({IDOK, IDOK});
  Click(IDC_ERASEMILL_ERASE);
  ASSERT_TRUE(boxes.WaitForCount(5, 10000));
  EXPECT_EQ(L"Erase Completed.", boxes.seen()[4].text);
  EXPECT_TRUE(page_->files().empty());
  EXPECT_EQ(0, page_->List().RowCount());
  EXPECT_FALSE(test::FileExists(held));
  EXPECT_TRUE(test::FileExists(bystander));
}

// The open dialog's buffer: a folder and its names, however many (here far beyond the first
// 6,144 characters), a drive's root, one full path, and a name the buffer cut off.
TEST(SplitSelection, ReadsEveryNameOfTheBuffer) {
  std::wstring buffer = L"C:\\Some Folder";
  buffer += L'\0';
  for (int i = 0; i < 2000; ++i) buffer += L"file number " + std::to_wstring(i) + L".txt" + L'\0';
  buffer += L'\0';
  std::vector<std::wstring> paths = SplitSelection(buffer.data(), buffer.size());
  ASSERT_EQ(2000u, paths.size());
  EXPECT_EQ(L"C:\\Some Folder\\file number 0.txt", paths.front());
  EXPECT_EQ(L"C:\\Some Folder\\file number 1999.txt", paths.back());

  const wchar_t root[] = L"C:\\\0a.txt\0b.txt\0";
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b.txt"}), SplitSelection(root, 17));
  const wchar_t one[] = L"C:\\dir\\only.txt\0";
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\dir\\only.txt"}), SplitSelection(one, 17));
  const wchar_t cut[] = {L'C', L':', L'\\', L'\0', L'a', L'\0', L'b', L'b'};  // "bb" has no end
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\a"}), SplitSelection(cut, 8));
}

}  // namespace

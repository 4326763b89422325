#include "tests/pages_cleaning/page_host.h"

#include "app/plain_page.h"
#include "contracts/messages.h"
#include "tests/support/pump.h"

namespace pages_test {

CleanerTable::CleanerTable() {
  PageTable real = DefaultPageTable();
  slots_.assign(real.slots, real.slots + real.count);
  for (PageSlot& slot : slots_) {
    if (slot.id != page_id::kJunkCleaner && slot.id != page_id::kTraceCleaner) slot.create = &MakePage<CPlainPage>;
  }
}

void CleanerPages::SetUp() {
  GetCurrentDirectoryW(MAX_PATH, previous_);
  SetCurrentDirectoryW(L"C:\\Lumaspan");  // the staged program folder: the real skin
  main_ = std::make_unique<TestMainDlg>(table_.table());
}

void CleanerPages::TearDown() {
  main_.reset();
  SetCurrentDirectoryW(previous_);
}

void CleanerPages::Start() {
  ASSERT_TRUE(main_->Create(nullptr));
  ASSERT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000));
}

void CleanerPages::Show(UINT page) {
  SendMessageW(main_->hwnd(), page, 0, 0);
  test::PumpFor(20);
}

CTracewipeStartDlg* CleanerPages::Trace() { return dynamic_cast<CTracewipeStartDlg*>(main_->PageOf(page_id::kTraceCleaner)); }

CLitterbinStartDlg* CleanerPages::Junk() { return dynamic_cast<CLitterbinStartDlg*>(main_->PageOf(page_id::kJunkCleaner)); }

bool CleanerPages::MenuLocked() { return main_->Menu().IsLocked(); }

void CleanerPages::Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void CleanerPages::Press(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool CleanerPages::Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

bool CleanerPages::WaitFinished(cleaning_pages::CCleaningStartDlg* page, DWORD timeoutMs) {
  return test::PumpUntil([page] { return page->ResultPage() && page->ResultPage()->finished(); }, timeoutMs);
}

std::vector<std::wstring> CleanerPages::Rows(cleaning_pages::CCleaningResultsDlg* results) {
  std::vector<std::wstring> rows;
  ui::CheckListView& list = results->List();
  for (int i = 0; i < list.RowCount(); ++i) rows.push_back(list.Text(i, 0) + L"|" + list.Text(i, 1) + L"|" + list.Text(i, 2));
  return rows;
}

void CleanerPages::CheckOnly(cleaning_pages::CCleaningResultsDlg* results, const std::vector<std::wstring>& names) {
  ui::CheckListView& list = results->List();
  for (int i = 0; i < list.RowCount(); ++i) {
    std::wstring name = list.Text(i, 0);
    bool keep = false;
    for (const std::wstring& n : names) keep = keep || n == name;
    list.SetChecked(i, keep);
  }
}

LRESULT SendReport(HWND window, ULONG_PTR kind, const std::wstring& text) {
  COPYDATASTRUCT data = {};
  data.dwData = kind;
  data.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(text.c_str());
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

}  // namespace pages_test

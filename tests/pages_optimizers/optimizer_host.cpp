#include "tests/pages_optimizers/optimizer_host.h"

#include "contracts/messages.h"
#include "tests/support/pump.h"

namespace optest {

ui::Page* OptimizerPage::Open(UINT pageCommand) {
  GetCurrentDirectoryW(MAX_PATH, previous_);
  SetCurrentDirectoryW(L"C:\\Lumaspan");  // the staged program folder: the real skin
  main_ = std::make_unique<HostWindow>(table_);
  if (!main_->Create(nullptr)) return nullptr;
  if (!test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000))
    return nullptr;
  SendMessageW(main_->hwnd(), pageCommand, 0, 0);
  ui::Page* page = main_->PageOf(pageCommand);
  page_ = page ? page->hwnd() : nullptr;
  test::PumpFor(30);
  return page;
}

void OptimizerPage::TearDown() {
  main_.reset();
  boxes_.reset();
  if (previous_[0]) SetCurrentDirectoryW(previous_);
}

bool OptimizerPage::ClickMenuToHome() {
  CButtonMenu& menu = main_->Menu();
  LPARAM at = MAKELPARAM(20, menu.HeaderTop(0) + 13);
  SendMessageW(menu.hwnd(), WM_MOUSEMOVE, 0, at);
  SendMessageW(menu.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(menu.hwnd(), WM_LBUTTONUP, 0, at);
  test::PumpFor(30);
  return main_->CurrentPageId() == static_cast<int>(page_id::kHome);
}

void OptimizerPage::Click(int id) { SendMessageW(GetDlgItem(page_, id), BM_CLICK, 0, 0); }

std::wstring OptimizerPage::Text(int id) const {
  wchar_t text[2048] = {};
  GetDlgItemTextW(page_, id, text, 2048);
  return text;
}

std::vector<std::wstring> OptimizerPage::BoxTexts() const {
  std::vector<std::wstring> texts;
  for (const test::SeenBox& box : boxes_->seen()) {
    EXPECT_EQ(L"Lumaspan", box.caption);
    texts.push_back(box.text);
  }
  return texts;
}

}  // namespace optest

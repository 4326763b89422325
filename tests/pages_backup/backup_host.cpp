#include "tests/pages_backup/backup_host.h"

#include "contracts/messages.h"
#include "tests/support/pump.h"

namespace backup_test {

void BackupHost::SetUp() {
  GetCurrentDirectoryW(MAX_PATH, previous_);
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\Lumaspan"));  // the staged program folder: the real skin
  boxes_ = std::make_unique<test::MessageBoxWatcher>(IDOK);
  main_ = std::make_unique<HostWindow>();
  ASSERT_TRUE(main_->Create(nullptr));
  ASSERT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000));
}

void BackupHost::TearDown() {
  main_.reset();
  boxes_.reset();
  program_.reset();
  SetCurrentDirectoryW(previous_);
}

std::vector<std::wstring> BackupHost::BoxTexts() const {
  std::vector<std::wstring> texts;
  for (const test::SeenBox& box : boxes_->seen()) {
    EXPECT_EQ(L"Lumaspan", box.caption);
    texts.push_back(box.text);
  }
  return texts;
}

}  // namespace backup_test

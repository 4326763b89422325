// The system optimizer page with the real Corebrisk: the model shown at start, descriptions,
// Cancel, and Optimize on its worker with the outcome told truthfully.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "contracts/corebrisk.h"
#include "pages/optimizers/corebrisk_start_dlg.h"
#include "app/page_table.h"
#include "pages/optimizers/model_texts.h"
#include "pages/optimizers/optimizer_page.h"
#include "pages/optimizers/resource.h"
#include "suite/corebrisk/models.h"
#include "tests/corebrisk/service_sandbox.h"
#include "tests/pages_optimizers/optimizer_host.h"
#include "tests/support/pump.h"

namespace {

const wchar_t kRecordKey[] = L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\System Optimizer";

class SystemOptimizerPage : public optest::OptimizerPage {
 protected:
  void SetUp() override {
    ASSERT_TRUE(services_.Create(L"LumaspanTestA", SERVICE_DEMAND_START));
    // The notebook model of these tests turns only the test's own service off.
    ASSERT_EQ(1, CorebriskSetModelTable(2, L"LumaspanTestA=4"));
  }
  CCorebriskStartDlg* OpenPage() { return static_cast<CCorebriskStartDlg*>(Open(page_id::kSystemOptimizer)); }

  test::ServiceSandbox services_;
};

TEST_F(SystemOptimizerPage, OpensOnTheModelAppliedLastWithItsDescription) {
  ASSERT_EQ(1, CorebriskSetType(L"3"));
  CCorebriskStartDlg* page = OpenPage();
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(3, page->CheckedModel());
  EXPECT_EQ(UINT(BST_CHECKED), IsDlgButtonChecked(page_, IDC_MODEL_CAMPUS));
  EXPECT_EQ(0u, Text(IDC_MODEL_DESCRIPTION).find(L"According to the circumstance of campus network"));
  EXPECT_TRUE(test::ValueExists(HKEY_LOCAL_MACHINE, kRecordKey, L"Recorded")) << "the record is taken at start";

  // A model's button shows its description; nothing is applied.
  test::ServiceConfigs before = services_.Snapshot();
  Click(IDC_MODEL_NOTEBOOK);
  EXPECT_EQ(optimizer_pages::kModelDescriptions[2], Text(IDC_MODEL_DESCRIPTION));
  EXPECT_EQ(2, page->CheckedModel());
  EXPECT_EQ(before, services_.Snapshot());
  EXPECT_EQ(3, CorebriskGetType());
}

TEST_F(SystemOptimizerPage, ADamagedModelNumberChecksNoButton) {
  test::RegistrySandbox record(HKEY_LOCAL_MACHINE, kRecordKey);
  record.SetString(L"", L"Model", L"3");
  CCorebriskStartDlg* page = OpenPage();
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(-1, page->CheckedModel());
  EXPECT_EQ(L"", Text(IDC_MODEL_DESCRIPTION));
  Click(IDC_OPTIMIZE);  // no model: the page asks for one and applies nothing
  ASSERT_EQ(1u, boxes_->count());
  EXPECT_EQ(L"Please select an optimization model.", BoxTexts()[0]);
  EXPECT_FALSE(MenuLocked());
}

TEST_F(SystemOptimizerPage, CancelAtTheQuestionCallsNothing) {
  CCorebriskStartDlg* page = OpenPage();
  ASSERT_NE(nullptr, page);
  Click(IDC_MODEL_NOTEBOOK);
  test::ServiceConfigs before = services_.Snapshot();
  boxes_->Answer({IDCANCEL});
  Click(IDC_OPTIMIZE);
  test::PumpFor(200);
  ASSERT_EQ(1u, boxes_->count());
  EXPECT_EQ(L"Are you sure to optimize your system?", BoxTexts()[0]);
  EXPECT_FALSE(MenuLocked());
  EXPECT_FALSE(page->optimizing());
  EXPECT_EQ(before, services_.Snapshot());
  EXPECT_EQ(0, CorebriskGetType());
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, std::wstring(kRecordKey) + L"\\Changed"));
}

TEST_F(SystemOptimizerPage, OptimizeAppliesTheModelOnItsWorkerWhileTheMenuIsLocked) {
  CCorebriskStartDlg* page = OpenPage();
  ASSERT_NE(nullptr, page);
  Click(IDC_MODEL_NOTEBOOK);
  // Once the question is answered the page locks the menu and starts its worker; the worker's end
  // message, taken when this thread pumps again, opens the second box.
  Click(IDC_OPTIMIZE);
  EXPECT_TRUE(MenuLocked());
  EXPECT_TRUE(page->optimizing());
  EXPECT_FALSE(Enabled(IDC_OPTIMIZE));
  ASSERT_TRUE(boxes_->WaitForCount(2, 30000));
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to optimize your system?", L"Optimization Completed!"}),
            BoxTexts());
  EXPECT_FALSE(MenuLocked());
  EXPECT_TRUE(Enabled(IDC_OPTIMIZE));
  EXPECT_EQ(DWORD(SERVICE_DISABLED), services_.StartType(L"LumaspanTestA"));
  EXPECT_EQ(2, CorebriskGetType());
  EXPECT_TRUE(ClickMenuToHome()) << "the menu reacts again";
}

TEST_F(SystemOptimizerPage, AModelThatCouldNotBeAppliedIsNotReportedAsCompleted) {
  // A was changed by an earlier model and its record damaged since: it cannot be given back.
  ASSERT_EQ(1, CorebriskInitRegistry());
  ASSERT_EQ(1, CorebriskLoadFile(2));
  test::RegistrySandbox types(HKEY_LOCAL_MACHINE, std::wstring(kRecordKey) + L"\\Start Types");
  types.SetString(L"", L"LumaspanTestA", L"3");
  CCorebriskStartDlg* page = OpenPage();
  ASSERT_NE(nullptr, page);
  Click(IDC_MODEL_DEFAULT);
  Click(IDC_OPTIMIZE);
  ASSERT_TRUE(boxes_->WaitForCount(2, 30000));
  EXPECT_FALSE(page->optimizing());
  EXPECT_EQ(0u, BoxTexts()[1].find(L"The optimization could not be applied"));
  EXPECT_EQ(optimizer_pages::kNotApplied, BoxTexts()[1]);
  EXPECT_EQ(0, CorebriskGetType()) << "a model not applied is not recorded as applied";
  EXPECT_TRUE(ClickMenuToHome()) << "the menu reacts again";
}

// A system whose threads cannot be started: the page tells so, applies nothing, and unlocks.
class WorkerlessPage : public CCorebriskStartDlg {
 protected:
  base::Thread StartWorker(std::unique_ptr<base::Thread::Job>) override { return {}; }
};

TEST_F(SystemOptimizerPage, AWorkerThatCannotStartAppliesNothingAndLeavesTheMenuWorking) {
  static std::vector<PageSlot> slots;  // outlives the main window, which keeps the table
  slots.assign(table_.slots, table_.slots + table_.count);
  for (PageSlot& slot : slots)
    if (slot.id == page_id::kSystemOptimizer) slot.create = &MakePage<WorkerlessPage>;
  table_ = PageTable{slots.data(), slots.size()};
  CCorebriskStartDlg* page = OpenPage();
  ASSERT_NE(nullptr, page);
  Click(IDC_MODEL_NOTEBOOK);
  test::ServiceConfigs before = services_.Snapshot();
  Click(IDC_OPTIMIZE);
  ASSERT_EQ(2u, boxes_->count());
  EXPECT_EQ(optimizer_pages::kNotApplied, BoxTexts()[1]);
  EXPECT_FALSE(page->optimizing());
  EXPECT_EQ(before, services_.Snapshot());
  EXPECT_TRUE(ClickMenuToHome()) << "the menu reacts again";
}

// The page's descriptions end with what the library's tables change, so the user reads what happens.
TEST(SystemOptimizerTexts, EachDescriptionEndsWithTheServicesItsModelChanges) {
  for (int model = 1; model < optimizer_pages::kModelCount; ++model) {
    corebrisk::ModelTable table = corebrisk::BuiltInTable(model);
    std::wstring manual, off;
    for (size_t i = 0; i < table.count; ++i) {
      std::wstring& list = table.services[i].startType == SERVICE_DISABLED ? off : manual;
      list += (list.empty() ? L"" : L", ") + std::wstring(table.services[i].display);
    }
    std::wstring tail = L"\nSet to start manually: " + manual + L".\nTurned off: " + off + L".";
    std::wstring text = optimizer_pages::kModelDescriptions[model];
    ASSERT_GT(text.size(), tail.size()) << model;
    EXPECT_EQ(tail, text.substr(text.size() - tail.size())) << model;
  }
  EXPECT_STREQ(L"Reset to Windows default services.", optimizer_pages::kModelDescriptions[0]);
  size_t count = 0;
  const corebrisk::ProtectedService* kept = corebrisk::ProtectedServices(&count);
  for (size_t i = 0; i < count; ++i)
    for (int model = 1; model < optimizer_pages::kModelCount; ++model)
      for (size_t s = 0; s < corebrisk::BuiltInTable(model).count; ++s)
        EXPECT_NE(0, _wcsicmp(kept[i].name, corebrisk::BuiltInTable(model).services[s].name)) << kept[i].name;
}

}  // namespace

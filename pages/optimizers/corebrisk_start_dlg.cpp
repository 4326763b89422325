#include "pages/optimizers/corebrisk_start_dlg.h"

#include <process.h>

#include <memory>

#include "contracts/corebrisk.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/optimizers/resource.h"

using namespace optimizer_pages;

namespace {

// A model changes a few dozen start types at most; this only bounds a hung Service Control Manager
// when the program closes during an optimization.
constexpr DWORD kWorkerEndWaitMs = 30000;

struct OptimizeJob {
  HWND page;
  int model;
};

unsigned __stdcall OptimizeWorker(void* parameter) {
  std::unique_ptr<OptimizeJob> job(static_cast<OptimizeJob*>(parameter));
  BOOL applied = FALSE;
  try {
    // The model counts as applied, and is recorded as the current one, only when every change of
    // it was made.
    const wchar_t number[2] = {static_cast<wchar_t>(L'0' + job->model), L'\0'};
    applied = CorebriskLoadFile(job->model) == 1 && CorebriskSetType(number) == 1;
  } catch (...) {
    applied = FALSE;
  }
  // Posted, not sent: the worker ends at once, and a page already gone simply gets nothing.
  PostMessageW(job->page, page_msg::kOptimizationDone, applied, 0);
  return 0;
}

}  // namespace

const int CCorebriskStartDlg::kModelIds[kModelCount] = {IDC_MODEL_DEFAULT, IDC_MODEL_INTERNET_CAFE,
                                                        IDC_MODEL_NOTEBOOK, IDC_MODEL_CAMPUS,
                                                        IDC_MODEL_OFFICE,  IDC_MODEL_HOME};

CCorebriskStartDlg::CCorebriskStartDlg() : COptimizerPage(IDD_COREBRISK_START) {}

CCorebriskStartDlg::~CCorebriskStartDlg() {
  Destroy();
  if (worker_) WaitForSingleObject(worker_.get(), kWorkerEndWaitMs);
}

void CCorebriskStartDlg::OnInitPage() {
  CorebriskInitRegistry();
  ShowModel(CorebriskGetType());
}

int CCorebriskStartDlg::CheckedModel() const {
  for (int model = 0; model < kModelCount; ++model)
    if (IsDlgButtonChecked(hwnd(), kModelIds[model]) == BST_CHECKED) return model;
  return -1;
}

void CCorebriskStartDlg::ShowModel(int model) {
  bool known = model >= 0 && model < kModelCount;
  for (int m = 0; m < kModelCount; ++m)
    CheckDlgButton(hwnd(), kModelIds[m], m == model ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextW(hwnd(), IDC_MODEL_DESCRIPTION, known ? kModelDescriptions[model] : L"");
}

void CCorebriskStartDlg::OnOptimize() {
  if (optimizing_) return;
  int model = CheckedModel();
  if (model < 0) {
    MessageBoxW(MainWindow(), L"Please select an optimization model.", kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MessageBoxW(MainWindow(), L"Are you sure to optimize your system?", kCaption,
                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  LockMenu(MainWindow(), 1);
  auto job = std::make_unique<OptimizeJob>(OptimizeJob{hwnd(), model});
  worker_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &OptimizeWorker, job.get(), 0, nullptr)));
  if (!worker_) {
    LockMenu(MainWindow(), 0);
    ReportOutcome(false);
    return;
  }
  job.release();  // the worker owns it now
  optimizing_ = true;
  EnableWindow(Item(IDC_OPTIMIZE), FALSE);
}

void CCorebriskStartDlg::OnOptimizationDone(bool applied) {
  if (!optimizing_) return;
  optimizing_ = false;
  LockMenu(MainWindow(), 0);
  EnableWindow(Item(IDC_OPTIMIZE), TRUE);
  ReportOutcome(applied);
}

bool CCorebriskStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (COptimizerPage::OnMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_COMMAND: {
      if (HIWORD(wParam) != BN_CLICKED) return false;
      int id = LOWORD(wParam);
      if (id == IDC_OPTIMIZE) {
        OnOptimize();
        return true;
      }
      // A model's button shows what it does; nothing is applied before "Optimize".
      for (int model = 0; model < kModelCount; ++model) {
        if (id != kModelIds[model]) continue;
        ShowModel(model);
        return true;
      }
      return false;
    }
    case page_msg::kOptimizationDone:
      OnOptimizationDone(wParam != 0);
      return true;
  }
  return false;
}

#include "pages/optimizers/corebrisk_start_dlg.h"

#include "base/product.h"
#include "contracts/corebrisk.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/optimizers/resource.h"

using namespace optimizer_pages;

namespace {

// A model changes a few dozen start types at most; this only bounds a hung Service Control Manager
// when the program closes during an optimization.
constexpr DWORD kWorkerEndWaitMs = 30000;

class OptimizeJob final : public base::Thread::Job {
 public:
  OptimizeJob(HWND page, int model) : page_(page), model_(model) {}

  void Run() override {
    Outcome outcome = Outcome::kPartly;  // nothing known of what was changed
    try {
      // The model counts as applied, and is recorded as the current one, only when every change
      // of it was made; otherwise Corebrisk has put back what it changed.
      const wchar_t number[2] = {static_cast<wchar_t>(L'0' + model_), L'\0'};
      int loaded = CorebriskLoadFile(model_);
      outcome = loaded == 1 ? Outcome::kApplied : loaded == 0 ? Outcome::kNotApplied : Outcome::kPartly;
      // Applied is applied: a number that could not be stored only leaves the page to open on the
      // model applied before.
      if (loaded == 1) CorebriskSetType(number);
    } catch (...) {
    }
    // Posted, not sent: the worker ends at once, and a page already gone simply gets nothing.
    PostMessageW(page_, page_msg::kOptimizationDone, static_cast<WPARAM>(outcome), 0);
  }

 private:
  HWND page_;
  int model_;
};

}  // namespace

const int CCorebriskStartDlg::kModelIds[kModelCount] = {IDC_MODEL_DEFAULT, IDC_MODEL_INTERNET_CAFE,
                                                        IDC_MODEL_NOTEBOOK, IDC_MODEL_CAMPUS,
                                                        IDC_MODEL_OFFICE,  IDC_MODEL_HOME};

CCorebriskStartDlg::CCorebriskStartDlg() : COptimizerPage(IDD_COREBRISK_START) {}

CCorebriskStartDlg::~CCorebriskStartDlg() {
  Destroy();
  worker_.Join(kWorkerEndWaitMs);
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
    MessageBoxW(MainWindow(), L"Please select an optimization model.", product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MessageBoxW(MainWindow(), L"Are you sure to optimize your system?", product::kCaption,
                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  LockMenu(MainWindow(), 1);
  worker_ = StartWorker(std::make_unique<OptimizeJob>(hwnd(), model));
  if (!worker_) {
    LockMenu(MainWindow(), 0);
    ReportOutcome(Outcome::kNotApplied);
    return;
  }
  optimizing_ = true;
  EnableWindow(Item(IDC_OPTIMIZE), FALSE);
}

base::Thread CCorebriskStartDlg::StartWorker(std::unique_ptr<base::Thread::Job> job) {
  return base::Thread::Start(std::move(job));
}

void CCorebriskStartDlg::OnOptimizationDone(Outcome outcome) {
  if (!optimizing_) return;
  optimizing_ = false;
  LockMenu(MainWindow(), 0);
  EnableWindow(Item(IDC_OPTIMIZE), TRUE);
  ReportOutcome(outcome);
}

bool CCorebriskStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (COptimizerPage::OnMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case page_msg::kOptimizationDone:
      OnOptimizationDone(wParam == WPARAM(Outcome::kApplied)    ? Outcome::kApplied
                         : wParam == WPARAM(Outcome::kNotApplied) ? Outcome::kNotApplied
                                                                  : Outcome::kPartly);
      return true;
  }
  return false;
}

bool CCorebriskStartDlg::OnClicked(int id) {
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

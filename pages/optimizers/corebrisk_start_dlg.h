// CCorebriskStartDlg: the system optimizer page (60203). The user picks one of six service models,
// reads what it changes, and applies it with "Optimize": Corebrisk does the work on a worker thread
// while the menu is locked, and tells the page with 60213 whether everything was applied.
#pragma once
#include <windows.h>

#include <memory>

#include "base/thread.h"
#include "pages/optimizers/model_texts.h"
#include "pages/optimizers/optimizer_page.h"

class CCorebriskStartDlg : public optimizer_pages::COptimizerPage {
 public:
  // The radio button of model 0-5.
  static const int kModelIds[optimizer_pages::kModelCount];

  CCorebriskStartDlg();
  ~CCorebriskStartDlg() override;

  // The first checked model in the order 0-5, or -1.
  int CheckedModel() const;
  bool optimizing() const { return optimizing_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnClicked(int id) override;
  void OnInitPage() override;
  // Starts the worker thread running job; an empty Thread when the system refuses (a test's page
  // refuses on purpose), job then destroyed unrun.
  virtual base::Thread StartWorker(std::unique_ptr<base::Thread::Job> job);

 private:
  void ShowModel(int model);
  void OnOptimize();
  void OnOptimizationDone(optimizer_pages::Outcome outcome);

  base::Thread worker_;
  bool optimizing_ = false;
};

// CTracewipeScanDlg: the result page of a trace scan. Besides the common result page it names,
// while the scan runs, the category being searched.
#pragma once
#include <string>

#include "pages/cleaning/results_dlg.h"

class CTracewipeScanDlg : public cleaning_pages::CCleaningResultsDlg {
 public:
  CTracewipeScanDlg();

  void SetCurrentCategory(const std::wstring& text);
  const std::wstring& CurrentCategory() const { return category_; }

 protected:
  void PaintExtra(HDC dc) override;

 private:
  std::wstring category_;
};

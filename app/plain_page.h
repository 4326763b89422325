// The page a tool's slot holds until the tool's own page exists: the page template, white, with the
// accent lines the pages draw along their top, right and bottom edges, and nothing on it.
#pragma once
#include "ui/page.h"

class CPlainPage : public ui::Page {
 public:
  CPlainPage();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
};

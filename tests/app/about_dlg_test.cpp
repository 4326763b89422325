// The about box: skinned, its texts and links, and both ways out.
#include "app/about_dlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource.h"
#include "tests/support/pixels.h"

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

// Looks at the box once it is up, then presses a button.
struct Inspection {
  static Inspection* current;
  WPARAM press = IDOK;
  bool seen = false;
  std::wstring caption, name, owner, legal, website, support;
  RECT client = {};
  int titleHeight = 0;
  bool whiteBackground = false;
  CAboutDlg* box = nullptr;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    Inspection* self = current;
    HWND box = FindWindowW(L"#32770", L"Lumaspan");
    if (!self || self->seen || !box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, id);
    self->seen = true;
    self->caption = TextOf(box);
    self->name = TextOf(GetDlgItem(box, IDC_ABOUT_NAME));
    self->owner = TextOf(GetDlgItem(box, IDC_ABOUT_OWNER));
    self->legal = TextOf(GetDlgItem(box, IDC_ABOUT_LEGAL));
    self->website = TextOf(GetDlgItem(box, IDC_WEBSITE));
    self->support = TextOf(GetDlgItem(box, IDC_SUPPORT));
    GetClientRect(box, &self->client);
    self->titleHeight = self->box->Skin().TitleHeight();
    test::Capture c = test::Capture::Print(box);
    self->whiteBackground = c.ok() && c.At(5, self->client.bottom - 5) == RGB(255, 255, 255);
    SendMessageW(box, WM_COMMAND, self->press, 0);
  }
};
Inspection* Inspection::current = nullptr;

class AboutBox : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(L"C:\\Lumaspan");
  }
  void TearDown() override {
    Inspection::current = nullptr;
    SetCurrentDirectoryW(previous_);
  }
  INT_PTR Run(Inspection& inspection) {
    CAboutDlg box;
    inspection.box = &box;
    Inspection::current = &inspection;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &Inspection::Tick);
    INT_PTR result = box.DoModal(nullptr);
    KillTimer(nullptr, timer);
    return result;
  }
  wchar_t previous_[MAX_PATH] = {};
};

TEST_F(AboutBox, ShowsTheVersionNoticesAndLinks) {
  Inspection inspection;
  EXPECT_EQ(1, Run(inspection));
  ASSERT_TRUE(inspection.seen);
  EXPECT_EQ(L"Lumaspan", inspection.caption);
  EXPECT_EQ(L"Lumaspan 3.1.1.10079", inspection.name);
  EXPECT_NE(std::wstring::npos, inspection.owner.find(L"Lumaspan Software"));
  EXPECT_GT(inspection.legal.size(), 100u);
  EXPECT_EQ(L"www.lumaspan.com", inspection.website);
  EXPECT_EQ(L"support@lumaspan.com", inspection.support);
  EXPECT_GT(inspection.titleHeight, 0);  // the skin frames it
  // The template's client area survives the change of frame: 213 x 217 dialog units.
  RECT units = {0, 0, 213, 217};
  EXPECT_GT(inspection.client.right, 213);
  EXPECT_GT(inspection.client.bottom, 217);
  (void)units;
  EXPECT_TRUE(inspection.whiteBackground);
}

TEST_F(AboutBox, EscapeEndsItWithOneToo) {
  Inspection inspection;
  inspection.press = IDCANCEL;
  EXPECT_EQ(1, Run(inspection));
  EXPECT_TRUE(inspection.seen);
}

}  // namespace

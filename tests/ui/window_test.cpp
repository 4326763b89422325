// The window framework: dispatch, subclassing, dialogs from templates, reflection of owner-draw and
// notification messages, check-box data exchange, and what happens when objects and windows part.
#include "ui/dialog.h"
#include "ui/window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <vector>

#include "base/fault_record.h"

#include "tests/support/pump.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

class PlainWindow : public ui::Window {
 public:
  std::vector<UINT> seen;
  bool finalMessage = false;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    seen.push_back(message);
    if (message == kPing) {
      result = static_cast<LRESULT>(wParam) * 2;
      return true;
    }
    if (message == kThrow) throw std::runtime_error("handler failed");
    return false;
  }
  void OnFinalMessage() override { finalMessage = true; }
};

HWND MakeWindow(PlainWindow& w, HWND parent = nullptr) {
  ui::Window::RegisterClass(L"LumaspanTestPlain");
  return w.CreateEx(0, L"LumaspanTestPlain", L"plain", parent ? WS_CHILD : WS_POPUP, 0, 0, 400, 300, parent, nullptr);
}

TEST(Window, DispatchesToItsMessageTableAndDefaultsTheRest) {
  PlainWindow w;
  HWND h = MakeWindow(w);
  ASSERT_TRUE(h);
  EXPECT_EQ(&w, ui::Window::FromHandle(h));
  EXPECT_EQ(42, SendMessageW(h, kPing, 21, 0));
  wchar_t title[16] = {};
  GetWindowTextW(h, title, 16);  // WM_GETTEXT went to the default procedure
  EXPECT_STREQ(L"plain", title);
  long faults = base::FaultCount();
  EXPECT_EQ(0, SendMessageW(h, kThrow, 0, 0));  // no exception leaves the procedure
  EXPECT_EQ(faults + 1, base::FaultCount());      // its kind is recorded for the developer
  EXPECT_NE(nullptr, wcsstr(base::LastFault(), L"std::runtime_error (handler failed)"));
  EXPECT_NE(nullptr, wcsstr(base::LastFault(), L"message 0x8002"));
  EXPECT_EQ(84, SendMessageW(h, kPing, 42, 0));  // and the window keeps working
}

TEST(Window, ANotificationFromTheWindowItselfIsNotReflectedBackToIt) {
  PlainWindow w;
  HWND h = MakeWindow(w);
  NMHDR header = {h, 7, 1};
  SendMessageW(h, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(std::vector<UINT>{WM_NOTIFY}, std::vector<UINT>(w.seen.end() - 1, w.seen.end()));
  EXPECT_EQ(0, std::count(w.seen.begin(), w.seen.end(), ui::OCM_NOTIFY));
}

TEST(Window, DestroyingTheWindowUnlinksTheObject) {
  PlainWindow w;
  HWND h = MakeWindow(w);
  DestroyWindow(h);
  EXPECT_TRUE(w.finalMessage);
  EXPECT_EQ(nullptr, w.hwnd());
}

TEST(Window, DestroyingTheObjectDestroysTheWindowItCreatedWithoutCallingIt) {
  auto w = std::make_unique<PlainWindow>();
  HWND h = MakeWindow(*w);
  w->seen.clear();
  PlainWindow* raw = w.get();
  w.reset();
  EXPECT_FALSE(IsWindow(h));
  (void)raw;  // no message reached the destroyed object (it would have crashed or been recorded)
}

class ButtonHook : public ui::Window {
 public:
  int clicks = 0;
  int drawn = 0;

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message == BM_CLICK) ++clicks;  // seen first, then the button's own handling
    if (message == ui::OCM_DRAWITEM) {
      ++drawn;
      result = TRUE;
      return true;
    }
    return false;
  }
};

class TestPage : public ui::Dialog {
 public:
  TestPage() : ui::Dialog(100) {}
  int checked = 1;
  bool initialised = false;
  std::vector<int> commands;
  int parentDrawItems = 0;
  void Exchange(bool save) { UpdateData(save); }

 protected:
  void DoDataExchange(bool save) override { ExchangeCheck(1001, checked, save); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    switch (message) {
      case WM_INITDIALOG:
        initialised = true;
        UpdateData(false);
        result = TRUE;
        return true;
      case WM_COMMAND:
        commands.push_back(LOWORD(wParam));
        return true;
      case WM_DRAWITEM:
        ++parentDrawItems;
        result = TRUE;
        return true;
    }
    return false;
  }
};

TEST(Dialog, AModelessPageFromItsTemplate) {
  PlainWindow host;
  MakeWindow(host);
  TestPage page;
  HWND h = page.Create(host.hwnd());
  ASSERT_TRUE(h);
  EXPECT_TRUE(page.initialised);
  EXPECT_EQ(GetParent(h), host.hwnd());
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(h, 1001));  // loaded from the member
  SendMessageW(GetDlgItem(h, 1002), BM_CLICK, 0, 0);
  ASSERT_EQ(1u, page.commands.size());
  EXPECT_EQ(1002, page.commands[0]);
  CheckDlgButton(h, 1001, BST_UNCHECKED);
  page.Exchange(true);
  EXPECT_EQ(0, page.checked);
  page.checked = 1;
  page.Exchange(false);
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(h, 1001));
}

TEST(Dialog, ReflectsDrawItemToAFrameworkControlAndPassesOthersToTheParent) {
  PlainWindow host;
  MakeWindow(host);
  TestPage page;
  HWND h = page.Create(host.hwnd());
  ButtonHook hooked;
  ASSERT_TRUE(hooked.Subclass(GetDlgItem(h, 1003)));
  ShowWindow(host.hwnd(), SW_SHOW);
  ShowWindow(h, SW_SHOW);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  test::PumpFor(50);
  EXPECT_GT(hooked.drawn, 0);            // the framework button drew itself
  EXPECT_GT(page.parentDrawItems, 0);    // the plain owner-drawn button 1004 went to the page
  SendMessageW(hooked.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(1, hooked.clicks);
  EXPECT_EQ(1003, page.commands.back());  // the button's own handling still ran
}

TEST(Dialog, ASubclassedControlOutlivesItsObject) {
  PlainWindow host;
  MakeWindow(host);
  TestPage page;
  HWND h = page.Create(host.hwnd());
  HWND button = GetDlgItem(h, 1002);
  {
    ButtonHook hook;
    ASSERT_TRUE(hook.Subclass(button));
    EXPECT_FALSE(ButtonHook().Subclass(button));  // one object per window
  }
  EXPECT_TRUE(IsWindow(button));
  EXPECT_EQ(nullptr, ui::Window::FromHandle(button));
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(1002, page.commands.back());
}

TEST(Dialog, WindowsThatDieBeforeTheirObjectsLeaveNoLinkBehind) {
  PlainWindow host;
  MakeWindow(host);
  TestPage page;
  HWND h = page.Create(host.hwnd());
  HWND button = GetDlgItem(h, 1002);
  ButtonHook hook;
  ASSERT_TRUE(hook.Subclass(button));
  DestroyWindow(h);  // the page and its subclassed button go while both objects live on
  EXPECT_EQ(nullptr, ui::Window::FromHandle(h));
  EXPECT_EQ(nullptr, ui::Window::FromHandle(button));  // a later window given either handle is not theirs
  EXPECT_EQ(nullptr, page.hwnd());
  EXPECT_EQ(nullptr, hook.hwnd());
}

TEST(Dialog, DeletingAPageDestroysItsWindow) {
  PlainWindow host;
  MakeWindow(host);
  auto page = std::make_unique<TestPage>();
  HWND h = page->Create(host.hwnd());
  page.reset();
  EXPECT_FALSE(IsWindow(h));
}

// A page on the typed handlers, with OnMessage still taking one timer itself.
class TypedPage : public ui::Dialog {
 public:
  TypedPage() : ui::Dialog(100) {}
  bool initialised = false;
  std::vector<int> clicks, commands;
  HWND commandControl = nullptr;
  UINT notified = 0;
  UINT_PTR timer = 0;
  bool ownTimer = false;
  UINT mouse = 0;
  POINT at = {};
  WPARAM keys = 0;

 protected:
  bool OnInitDialog(HWND) override { return initialised = true; }
  bool OnCommand(int id, int code, HWND control) override {
    if (code == BN_CLICKED) return ui::Dialog::OnCommand(id, code, control);
    commands.push_back(id);
    commands.push_back(code);
    commandControl = control;
    return true;
  }
  bool OnClicked(int id) override {
    clicks.push_back(id);
    return true;
  }
  bool OnNotify(NMHDR& header, LRESULT& result) override {
    notified = header.code;
    result = 5;
    return true;
  }
  bool OnTimer(UINT_PTR id) override {
    timer = id;
    return true;
  }
  bool OnMouse(UINT message, POINT point, WPARAM held) override {
    mouse = message;
    at = point;
    keys = held;
    return true;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
    return message == WM_TIMER && wParam == 99 && (ownTimer = true);
  }
};

TEST(Dialog, TypedHandlersGetTheirFamiliesDecodedAndOnMessageComesFirst) {
  PlainWindow host;
  MakeWindow(host);
  TypedPage page;
  HWND h = page.Create(host.hwnd());
  ASSERT_TRUE(h);
  EXPECT_TRUE(page.initialised);
  HWND button = GetDlgItem(h, 1002);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(std::vector<int>{1002}, page.clicks);
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(1005, EN_CHANGE), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ((std::vector<int>{1005, EN_CHANGE}), page.commands);
  EXPECT_EQ(button, page.commandControl);
  EXPECT_EQ(1u, page.clicks.size());  // only a click is a click
  NMHDR header = {button, 1002, 12345};
  EXPECT_EQ(5, SendMessageW(h, WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header)));
  EXPECT_EQ(12345u, page.notified);
  SendMessageW(h, WM_TIMER, 7, 0);
  SendMessageW(h, WM_TIMER, 99, 0);
  EXPECT_EQ(7u, page.timer);
  EXPECT_TRUE(page.ownTimer);
  SendMessageW(h, WM_RBUTTONDBLCLK, MK_RBUTTON | MK_SHIFT, MAKELPARAM(-3, 40));
  EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDBLCLK), page.mouse);
  EXPECT_EQ(-3, page.at.x);
  EXPECT_EQ(40, page.at.y);
  EXPECT_EQ(static_cast<WPARAM>(MK_RBUTTON | MK_SHIFT), page.keys);
}

// A page answering its buttons from a click table; 1002 is listed twice.
class TablePage : public ui::Dialog {
 public:
  TablePage() : ui::Dialog(100) {}
  std::vector<int> ran;
  bool Click(int id) { return OnClicked(id); }

 protected:
  bool OnClicked(int id) override {
    return Clicked(*this, id, {{1002, &TablePage::OnGo}, {1001, &TablePage::OnCheck}, {1002, &TablePage::OnCheck}});
  }

 private:
  void OnGo() { ran.push_back(1002); }
  void OnCheck() { ran.push_back(1001); }
};

TEST(Dialog, AClickTableRunsTheFirstMemberListedForTheButtonAndNoneForAnother) {
  TablePage page;
  EXPECT_TRUE(page.Click(1002));
  EXPECT_TRUE(page.Click(1001));
  EXPECT_FALSE(page.Click(1004));
  EXPECT_EQ((std::vector<int>{1002, 1001}), page.ran);
}

class ModalBox : public ui::Dialog {
 public:
  ModalBox() : ui::Dialog(101) {}

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
    if (message == WM_INITDIALOG) PostMessageW(hwnd(), kPing, 0, 0);
    if (message == kPing) {
      EndDialog(42);
      return true;
    }
    return false;
  }
};

TEST(Dialog, AModalDialogReturnsItsResult) {
  ModalBox box;
  EXPECT_EQ(42, box.DoModal(nullptr));
  EXPECT_EQ(nullptr, box.hwnd());
  EXPECT_EQ(-1, ui::Dialog(9999).DoModal(nullptr));  // no such template
}

}  // namespace

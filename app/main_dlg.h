// CMainDlg: the program's one window, a modal dialog for the whole run. A skinned frame, the banner
// with its links, the button menu down the left, the status bar, and one page at a time in the page
// area. The splash creates the pages in advance from inside its initialisation; the menu's commands
// switch between them.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/menu/button_menu.h"
#include "ui/page.h"
#include "ui/skin/skin_window.h"

class CMainDlg : public ui::Dialog {
 public:
  // The client area, and where the menu and the pages sit in it.
  static constexpr int kClientWidth = 785;
  static constexpr int kClientHeight = 570;
  static constexpr int kBannerHeight = 107;
  static constexpr POINT kPageOrigin = {206, 106};
  static constexpr UINT kMenuBase = 60000;

  enum Link { kNoLink = -1, kLogoLink = 0, kAddressLink, kHelpLink, kAboutLink };
  // The link area under a client point (left and top edges inside, right and bottom outside).
  static Link LinkAt(POINT client);

  explicit CMainDlg(PageTable table = DefaultPageTable());
  ~CMainDlg() override;

  int CurrentPageId() const { return current_; }
  const std::wstring& CurrentPageName() const { return pageName_; }
  // The page object of an identifier, or null while it does not exist.
  ui::Page* PageOf(UINT id) const;
  CButtonMenu& Menu() { return menu_; }
  CXuSkinWindow& Skin() { return skin_; }

  // Renders the window's own client painting into dc.
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // What a link does; tests replace them so that nothing is opened.
  virtual void OpenUrl(const wchar_t* url);
  virtual void ShowAbout();
  // Runs the splash, which preloads the pages.
  virtual void RunSplash();

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnMouse(UINT message, POINT at, WPARAM keys) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnCommand(int id, int code, HWND control) override;
  // The start-up work that may run in the splash's pauses, one piece per call: the skin, the
  // icons, the banner and fonts, the menu's set-up, then its images a few at a time. The window is
  // still hidden, so none of it shows before the splash ends. False when all is done.
  bool StartupStep();
  void LoadIcons();
  void LoadBannerAndFonts();
  void PrepareMenu();
  void FinishMenu();
  void SwitchTo(UINT id);
  void HidePage(UINT id);
  void ShowPage(UINT id);
  // The page of the table's slot index, made (hidden, in its place) if it does not exist yet.
  ui::Page* MakePage(int index);
  LRESULT Preload(UINT message);
  void ChooseCursor(POINT client);
  void OnButtonDown(POINT client);

  PageTable table_;
  ui::GpBitmap banner_;
  CButtonMenu menu_;
  std::wstring pageName_;
  int current_ = -1;
  std::vector<std::unique_ptr<ui::Page>> pages_;  // one per slot of the table
  ui::Font boldFont_, underlineFont_, regularFont_, titleFont_, bigTitleFont_;
  ui::Icon bigIcon_, smallIcon_;
  int startupStep_ = 0;
  CXuSkinWindow skin_;
};

#include "app/main_dlg.h"

#include <shellapi.h>

#include "app/about_dlg.h"
#include "app/placement.h"
#include "app/resource.h"
#include "app/start_dlg.h"
#include "base/product.h"
#include "contracts/messages.h"
#include "pages/options/update_check.h"
#include "ui/link_cursor.h"
#include "ui/paint.h"

namespace {

const RECT kLinkAreas[] = {
    {15, 10, 202, 45},     // the logo in the banner
    {656, 544, 776, 564},  // the web address in the status bar
    {570, 81, 651, 108},   // "Help"
    {661, 81, 770, 108},   // "About"
};

constexpr COLORREF kStripGrey = RGB(239, 239, 239);
constexpr COLORREF kStatusBlue = RGB(227, 239, 243);
constexpr COLORREF kBannerText = RGB(0, 147, 61);
constexpr COLORREF kLinkGreen = RGB(0, 128, 0);
constexpr UINT_PTR kQuietUpdateTimer = 0x5550;  // the automatic update check, once, after start

struct MenuButton {
  int group;  // -1: a group header
  const wchar_t* stem;
};
const MenuButton kHeaders[] = {
    {-1, L"QOR_Button_Clean"}, {-1, L"QOR_Button_Optimize"}, {-1, L"QOR_Button_Backup"}, {-1, L"QOR_Button_Options"}};
const int kGroupItems[] = {4, 4, 3, 0};
const MenuButton kItems[] = {
    {0, L"QOR_Button_Hivescrub"}, {0, L"QOR_Button_Litterbin"}, {0, L"QOR_Button_Tracewipe"},
    {0, L"QOR_Button_Erasemill"}, {1, L"QOR_Button_Bootlist"},  {1, L"QOR_Button_Addonward"},
    {1, L"QOR_Button_Corebrisk"}, {1, L"QOR_Button_Taskbrisk"}, {2, L"QOR_Button_Hivesafe"},
    {2, L"QOR_Button_Bookvault"}, {2, L"QOR_Button_Rescue"}};

std::wstring MenuImage(const wchar_t* stem, const wchar_t* state) {
  return std::wstring(L"Res\\Menu\\") + stem + state;
}

void Fill(HDC dc, int x, int y, int width, int height, COLORREF colour) {
  RECT r = {x, y, x + width, y + height};
  ui::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

void Text(HDC dc, int x, int y, const std::wstring& text) {
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

CMainDlg::Link CMainDlg::LinkAt(POINT p) {
  for (int i = 0; i < 4; ++i) {
    const RECT& r = kLinkAreas[i];
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return static_cast<Link>(i);
  }
  return kNoLink;
}

CMainDlg::CMainDlg(PageTable table) : ui::Dialog(IDD_MAIN), table_(table) { pages_.resize(table_.count); }

CMainDlg::~CMainDlg() {
  // The page windows went with the main window; the page objects go here, through their virtual
  // destructors.
  skin_.Detach();
  for (auto& page : pages_) page.reset();
  banner_.reset();
}

ui::Page* CMainDlg::PageOf(UINT id) const {
  int i = table_.IndexOf(id);
  return i < 0 ? nullptr : pages_[i].get();
}

void CMainDlg::RunSplash() {
  CStartDlg splash(hwnd(), table_);
  splash.DoModal(GetActiveWindow());
}

bool CMainDlg::OnInitDialog(HWND) {
  RunSplash();
  while (StartupStep()) {  // whatever the splash's pauses left
  }
  CenterOnOwner(hwnd());
  FinishMenu();
  return true;
}

bool CMainDlg::StartupStep() {
  switch (startupStep_) {
    case 0:
      skin_.Attach(hwnd());
      skin_.SetClientSize(kClientWidth, kClientHeight);
      break;
    case 1:
      LoadIcons();
      break;
    case 2:
      LoadBannerAndFonts();
      break;
    case 3:
      PrepareMenu();
      break;
    case 4:
      if (!menu_.LoadSomeImages(3)) return true;
      break;
    default:
      return false;
  }
  ++startupStep_;
  return true;
}

void CMainDlg::LoadIcons() {
  bigIcon_.reset(static_cast<HICON>(LoadImageW(ui::Instance(), MAKEINTRESOURCEW(IDI_LUMASPAN), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(ui::Instance(), MAKEINTRESOURCEW(IDI_LUMASPAN), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void CMainDlg::LoadBannerAndFonts() {
  banner_ = ui::LoadBitmapFile(L"Res\\QOR_Top.png");
  boldFont_.reset(ui::MakeFont(L"MS Sans Serif", 10, FW_BOLD));
  underlineFont_.reset(ui::MakeFont(L"MS Sans Serif", 10, FW_NORMAL, true));
  regularFont_.reset(ui::MakeFont(L"MS Sans Serif", 10));
  titleFont_.reset(ui::MakeFont(L"Arial", 20, FW_BOLD));
  bigTitleFont_.reset(ui::MakeFont(L"Arial", 28, FW_BOLD));
}

void CMainDlg::PrepareMenu() {
  menu_.Subclass(Item(IDC_BUTTON_MENU));
  // A banner that did not load still leaves the layout it was drawn for.
  int bannerHeight = ui::Usable(banner_.get()) ? static_cast<int>(banner_->GetHeight()) : kBannerHeight;
  menu_.SetSize(201, 432);
  MoveWindow(menu_.hwnd(), 5, bannerHeight - 1, 201, 432, TRUE);
  for (int g = 0; g < 4; ++g) menu_.AddGroup(g, kGroupItems[g]);
  for (const MenuButton& h : kHeaders) {
    menu_.AddGroupImages(MenuImage(h.stem, L"_Normal.png").c_str(), MenuImage(h.stem, L"_Down.png").c_str(),
                         MenuImage(h.stem, L"_Over.png").c_str());
  }
  for (const MenuButton& i : kItems) {
    menu_.AddItemImages(i.group, MenuImage(i.stem, L"_Normal.png").c_str(), MenuImage(i.stem, L"_Down.png").c_str(),
                        MenuImage(i.stem, L"_Over.png").c_str());
  }
}

void CMainDlg::FinishMenu() {
  menu_.LoadImages();
  menu_.SetMetrics(26, 26, 201);
  menu_.SetBaseMessage(kMenuBase);
  menu_.PostGroupCommand(1);
  SetTimer(hwnd(), kQuietUpdateTimer, options_page::kQuietCheckDelayMs, nullptr);
}

void CMainDlg::SwitchTo(UINT id) {
  if (const PageSlot* slot = table_.Find(id)) pageName_ = slot->name;
  RECT banner = {0, 0, kClientWidth, kBannerHeight};
  if (ui::Usable(banner_.get())) banner = RECT{0, 0, static_cast<LONG>(banner_->GetWidth()), static_cast<LONG>(banner_->GetHeight())};
  InvalidateRect(hwnd(), &banner, FALSE);
  if (static_cast<int>(id) == current_) return;  // the page shown stays as it is
  HidePage(id);
  ShowPage(id);
}

void CMainDlg::HidePage(UINT) {
  int index = current_ < 0 ? -1 : table_.IndexOf(static_cast<UINT>(current_));
  if (index < 0 || !pages_[index]) return;
  ui::Page* page = pages_[index].get();
  if (table_.slots[index].resetOnLeave) page->ResetToStart();
  if (page->hwnd()) ShowWindow(page->hwnd(), SW_HIDE);
}

void CMainDlg::ShowPage(UINT id) {
  current_ = static_cast<int>(id);
  if (ui::Page* page = MakePage(table_.IndexOf(id))) ShowWindow(page->hwnd(), SW_SHOW);
}

ui::Page* CMainDlg::MakePage(int index) {
  if (index < 0) return nullptr;
  std::unique_ptr<ui::Page>& page = pages_[index];
  if (page) return page.get();
  page.reset(table_.slots[index].create ? table_.slots[index].create() : nullptr);
  if (!page) return nullptr;
  if (!page->Create(hwnd())) {
    page.reset();  // tried again on the next switch
    return nullptr;
  }
  RECT r = {};
  GetClientRect(page->hwnd(), &r);
  OffsetRect(&r, kPageOrigin.x, kPageOrigin.y);
  MoveWindow(page->hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  return page.get();
}

// A preloaded page is made and placed but stays hidden until the user first goes to it: what only
// a page on screen needs (its folder tree, its listing) waits for that first showing.
LRESULT CMainDlg::Preload(UINT message) {
  const PageSlot* slot = table_.FindPreload(message);
  if (!slot) return 0;
  MakePage(table_.IndexOf(slot->id));
  return 1;
}

void CMainDlg::Paint(HDC dc) {
  Fill(dc, 0, 107, 5, 432, kStripGrey);
  Fill(dc, 779, 107, 6, 432, kStripGrey);
  Fill(dc, 0, 538, 785, 32, kStripGrey);
  if (ui::Usable(banner_.get())) {
    Gdiplus::Graphics g(dc);
    g.DrawImage(banner_.get(), 0, 0, 785, 107);
  }
  SetBkMode(dc, TRANSPARENT);
  {
    ui::Select font(dc, regularFont_.get());
    SetTextColor(dc, kBannerText);
    Text(dc, 15, 46, product::kPlatforms);
    Text(dc, 15, 60, product::kTagline);
  }
  Fill(dc, 0, 537, 790, 30, kStatusBlue);
  {
    ui::Select font(dc, regularFont_.get());
    SetTextColor(dc, RGB(0, 0, 0));
    Text(dc, 16, 546, std::wstring(L"Program Version:") + product::kVersion);
  }
  {
    ui::Select font(dc, underlineFont_.get());
    SetTextColor(dc, kLinkGreen);
    Text(dc, 625, 90, L"Help");
    Text(dc, 690, 90, L"About");
    Text(dc, 660, 546, product::kWebAddress);
  }
}

void CMainDlg::ChooseCursor(POINT client) {
  ui::SetLinkCursor(LinkAt(client) != kNoLink);
}

void CMainDlg::OpenUrl(const wchar_t* url) { ShellExecuteW(hwnd(), L"open", url, nullptr, nullptr, SW_SHOWNORMAL); }

void CMainDlg::ShowAbout() {
  CAboutDlg about;
  about.DoModal(GetActiveWindow());
}

void CMainDlg::OnButtonDown(POINT client) {
  ChooseCursor(client);
  switch (LinkAt(client)) {
    case kLogoLink:
    case kAddressLink:
      OpenUrl(product::kWebSite);
      break;
    case kHelpLink:
      OpenUrl(product::kHelpPage);
      break;
    case kAboutLink:
      ShowAbout();
      break;
    case kNoLink:
      break;
  }
}

bool CMainDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result,
                           [](POINT p) { return LinkAt(p) != kNoLink; })) {
    return true;
  }
  switch (message) {
    case kSplashIdleMessage:
      result = StartupStep() ? 1 : 0;
      return true;
    case WM_COPYDATA:
      if (lParam) {
        ULONG_PTR kind = reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData;
        if (kind == report_kind::kMenuLock) menu_.SetLocked(true);
        if (kind == report_kind::kMenuUnlock) menu_.SetLocked(false);
      }
      result = 0;
      return true;
  }
  if (table_.Find(message)) {
    SwitchTo(message);
    return true;
  }
  if (const wchar_t* name = HeaderPageName(message)) {
    pageName_ = name;
    return true;
  }
  if (table_.FindPreload(message)) {
    result = Preload(message);
    return true;
  }
  return false;
}

bool CMainDlg::OnMouse(UINT message, POINT at, WPARAM) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      OnButtonDown(at);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      ChooseCursor(at);
      return true;
  }
  return false;
}

bool CMainDlg::OnTimer(UINT_PTR id) {
  if (id != kQuietUpdateTimer) return false;
  KillTimer(hwnd(), kQuietUpdateTimer);
  options_page::StartQuietUpdateCheck(hwnd());
  return true;
}

bool CMainDlg::OnCommand(int id, int, HWND) {
  if (id != IDOK && id != IDCANCEL) return false;
  EndDialog(id);
  return true;
}

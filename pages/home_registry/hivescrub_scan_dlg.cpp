#include "pages/home_registry/hivescrub_scan_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "base/product.h"
#include "contracts/hivescrub.h"
#include "contracts/messages.h"
#include "pages/common/page_look.h"
#include "pages/home_registry/page_drawing.h"
#include "pages/home_registry/resource.h"
#include "ui/controls/page_colours.h"
#include "ui/paint.h"

namespace {

const int kColumnIconX[] = {26, 226, 387};
const int kColumnCaptionX[] = {46, 246, 407};
const int kColumnRight[] = {222, 383, 553};  // where the next column's icon, or the panel, begins
constexpr int kFirstRowY = 93;
constexpr int kRowStep = 25;
constexpr int kIconSize = 16;
constexpr UINT kRefreshMs = 100;

bool ValidCategory(int c) { return c >= 1 && c <= registry_scan::kCategories; }

void DrawIcon(Gdiplus::Graphics& graphics, Gdiplus::Image* image, POINT at) {
  if (ui::Usable(image))
    graphics.DrawImage(image, static_cast<INT>(at.x), static_cast<INT>(at.y), kIconSize, kIconSize);
}

}  // namespace

CHivescrubScanDlg::CHivescrubScanDlg()
    : ui::Dialog(IDD_HIVESCRUB_SCAN),
      random_(GetTickCount()),
      problemsIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Error_Scan.png")),
      cleanIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Right_Scan.png")),
      waitingIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Normal_Scan.png")),
      scanningIcon_(L"Res\\Common\\QOR_Scanning.gif"),
      normal_(ui::MakeFont(L"MS Sans Serif", 10)),
      elapsedFont_(ui::MakeFont(L"MS Sans Serif", 12, FW_BOLD)),
      currentFont_(ui::MakeFont(L"MS Sans Serif", 10, FW_BOLD)),
      countFont_(ui::MakeFont(L"Arial", 16, FW_BOLD)) {
  panel_.LoadImage(L"Res\\Dialog\\QOR_Scan_Dlg_BG.jpg");
}

// The window goes first, while the images and fonts it paints with are still here.
CHivescrubScanDlg::~CHivescrubScanDlg() { Destroy(); }

void CHivescrubScanDlg::SetSelection(const registry_scan::Selection& selection) {
  selection_ = selection;
  selected_ = registry_scan::CountSelected(selection);
  Repaint();
}

void CHivescrubScanDlg::StartClock() {
  if (hwnd()) SetTimer(hwnd(), kClockTimer, 1000, nullptr);
}

void CHivescrubScanDlg::ScanEnded() {
  scanningIcon_.Pause(true);
  if (!hwnd()) return;
  KillTimer(hwnd(), kClockTimer);
  KillTimer(hwnd(), kRefreshTimer);
}

void CHivescrubScanDlg::ShowProgressText(const std::wstring& text) {
  progressText_ = text;
  itemsProcessed_ += static_cast<int>(random_() % 100);
  Repaint();
}

void CHivescrubScanDlg::CountProblem(int category) {
  ++problemsFound_;
  if (ValidCategory(category)) ++counts_[category];
  ++itemsProcessed_;
  Repaint();
}

void CHivescrubScanDlg::BeginCategory(int category) {
  if (!ValidCategory(category)) return;
  current_ = category;
  ++begun_;
  begunFlags_[category] = true;
  Repaint();
}

void CHivescrubScanDlg::UpdateProgressBar() {
  if (progress_) SendMessageW(progress_, PBM_SETPOS, Percentage(), 0);
}

int CHivescrubScanDlg::Percentage() const {
  if (selected_ <= 0) return 0;
  return std::min(100, begun_ * 100 / selected_);
}

CHivescrubScanDlg::Icon CHivescrubScanDlg::IconOf(int category) const {
  if (!ValidCategory(category)) return Icon::kWaiting;
  if (category == current_) return Icon::kScanning;
  if (!begunFlags_[category] || !selection_[category]) return Icon::kWaiting;
  return counts_[category] == 0 ? Icon::kClean : Icon::kProblems;
}

std::wstring CHivescrubScanDlg::CountText(int category) const {
  if (!ValidCategory(category) || counts_[category] == 0) return std::wstring();
  return L" (" + std::to_wstring(counts_[category]) + L")";
}

std::wstring CHivescrubScanDlg::CaptionOf(int category) const {
  if (!ValidCategory(category)) return std::wstring();
  return hivescrub::kCaptions[category] + CountText(category);
}

POINT CHivescrubScanDlg::IconAt(int category) {
  if (!ValidCategory(category)) return POINT{0, 0};
  int column = (category - 1) / 5, row = (category - 1) % 5;
  return POINT{kColumnIconX[column], kFirstRowY + kRowStep * row};
}

POINT CHivescrubScanDlg::CaptionAt(int category) {
  if (!ValidCategory(category)) return POINT{0, 0};
  int column = (category - 1) / 5, row = (category - 1) % 5;
  return POINT{kColumnCaptionX[column], kFirstRowY + kRowStep * row};
}

// Reports come by the hundred a second; the page is painted from the refresh timer, so painting
// never holds the scan up.
void CHivescrubScanDlg::Repaint() { changed_ = true; }

void CHivescrubScanDlg::RepaintIcon(int category) {
  if (!hwnd() || !ValidCategory(category)) return;
  POINT at = IconAt(category);
  RECT icon = {at.x, at.y, at.x + kIconSize, at.y + kIconSize};
  InvalidateRect(hwnd(), &icon, FALSE);
}

bool CHivescrubScanDlg::OnInitDialog(HWND) {
  progress_ = Item(IDC_SCAN_PROGRESS);
  SendMessageW(progress_, PBM_SETRANGE, 0, MAKELPARAM(1, 100));
  common_pages::SkinButton(hwnd(), IDC_ABORT, abort_, L"Res\\Common\\QOR_Button_Abort.bmp");
  scanningIcon_.InitAnimation(hwnd());
  SetTimer(hwnd(), kRefreshTimer, kRefreshMs, nullptr);
  return true;
}

void CHivescrubScanDlg::OnAbort() {
  if (!onAbort_) return;
  const std::function<void()> abort = onAbort_;  // kept for the length of the question
  scanningIcon_.Pause(true);
  abort();
  scanningIcon_.Pause(false);
}

void CHivescrubScanDlg::PaintCategories(HDC dc, Gdiplus::Graphics& graphics) {
  for (int c = 1; c <= registry_scan::kCategories; ++c) {
    POINT icon = IconAt(c);
    switch (IconOf(c)) {
      case Icon::kScanning:
        if (ui::Usable(&scanningIcon_)) scanningIcon_.Draw(graphics, icon.x, icon.y, kIconSize, kIconSize);
        break;
      case Icon::kWaiting:
        DrawIcon(graphics, waitingIcon_.get(), icon);
        break;
      case Icon::kClean:
        DrawIcon(graphics, cleanIcon_.get(), icon);
        break;
      case Icon::kProblems:
        DrawIcon(graphics, problemsIcon_.get(), icon);
        break;
    }
    POINT caption = CaptionAt(c);
    ui::Select font(dc, c == current_ ? currentFont_.get() : normal_.get());
    int right = kColumnRight[(c - 1) / 5];
    registry_pages::TextBefore(dc, caption.x, caption.y, right, hivescrub::kCaptions[c], CountText(c));
  }
}

void CHivescrubScanDlg::Paint(HDC target) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  // Drawn off screen and copied in one piece: the page repaints many times a second.
  ui::MemoryDC dc(CreateCompatibleDC(target));
  ui::Bitmap canvas(CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!dc || !canvas) return;
  ui::Select selected(dc.get(), canvas.get());

  registry_pages::PaintGround(dc.get(), client, panel_);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  {
    ui::Select font(dc.get(), normal_.get());
    registry_pages::Text(dc.get(), 8, 12, L"Scanning the Registry");
    registry_pages::Text(dc.get(), 8, 26,
                         L"Registry Cleaner is performing an analysis of your system's Registry, Please wait......");
  }
  registry_pages::PaintProblemCount(dc.get(), countFont_.get(), problemsFound_);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  {
    wchar_t elapsed[64] = {};
    swprintf(elapsed, 64, L"Elapsed Time: %02d:%02d:%02d", elapsed_ / 3600, elapsed_ / 60 % 60, elapsed_ % 60);
    ui::Select font(dc.get(), elapsedFont_.get());
    registry_pages::Text(dc.get(), 400, 63, elapsed);
  }
  {
    ui::Select font(dc.get(), normal_.get());
    registry_pages::Text(dc.get(), 100, 240, L"Items processed: (" + std::to_wstring(itemsProcessed_) + L")");
    registry_pages::Text(dc.get(), 98, 258, L"Total Process: (" + std::to_wstring(Percentage()) + L")%");
    registry_pages::TextIn(dc.get(), RECT{98, 276, kPaintedArea.right - 8, kPaintedArea.bottom}, progressText_);
  }
  {
    Gdiplus::Graphics graphics(dc.get());
    PaintCategories(dc.get(), graphics);
  }
  BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

bool CHivescrubScanDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  switch (message) {
    case WM_DESTROY:
      KillTimer(hwnd(), kClockTimer);
      KillTimer(hwnd(), kRefreshTimer);
      scanningIcon_.Destroy();
      return false;
  }
  return false;
}

bool CHivescrubScanDlg::OnTimer(UINT_PTR id) {
  if (id == kClockTimer) {
    ++elapsed_;
    Repaint();
  } else if (id == kRefreshTimer && changed_) {
    changed_ = false;
    InvalidateRect(hwnd(), &kPaintedArea, FALSE);
  } else if (id == kRefreshTimer) {
    RepaintIcon(current_);  // the next frame of the scanning icon
  }
  return true;
}

bool CHivescrubScanDlg::OnClicked(int id) {
  if (id != IDC_ABORT) return false;
  OnAbort();
  return true;
}

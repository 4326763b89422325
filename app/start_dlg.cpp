#include "app/start_dlg.h"

#include "app/placement.h"
#include "app/resource.h"
#include "base/product.h"
#include "ui/paint.h"

namespace {

constexpr UINT_PTR kTimer = 1;
// A piece of the main window's idle work is started only with this much of a pause left.
constexpr double kIdleStepMs = 30.0;

// Milliseconds, finer than the tick count.
double NowMs() {
  LARGE_INTEGER frequency = {}, counter = {};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return frequency.QuadPart ? counter.QuadPart * 1000.0 / frequency.QuadPart : GetTickCount();
}

HBITMAP MakeDib(int width, int height) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

CStartDlg::CStartDlg(HWND main, PageTable table) : ui::Dialog(IDD_START), main_(main), table_(table) {}

bool CStartDlg::OnInitDialog(HWND) {
  SetWindowPos(hwnd(), nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  CenterOnOwner(hwnd());
  background_ = ui::LoadBitmapFile(L"Res\\QOR_Start.png");
  offscreen_.reset(MakeDib(kWidth, kHeight));
  font_.reset(ui::MakeFont(L"MS Sans Serif", 10));
  SetTimer(hwnd(), kTimer, 10, nullptr);
  return true;
}

void CStartDlg::RunPreload() {
  // The messages go out 100 ms apart, the time a page takes to make included, so the splash
  // lasts its eleven steps and no longer.
  const double start = NowMs();
  int step = 0;
  for (size_t i = 0; i < table_.count; ++i) {
    const PageSlot& slot = table_.slots[i];
    if (!slot.preload) continue;
    SendMessageW(main_, slot.preload, 0, 0);
    status_ = slot.splashText ? slot.splashText : L"";
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
    ++step;
    const double due = start + step * static_cast<double>(kPreloadSpacingMs);
    // The pause is the main window's to use, as long as a piece of work still fits in it.
    while (due - NowMs() > kIdleStepMs && SendMessageW(main_, kSplashIdleMessage, 0, 0)) {
    }
    double left = due - NowMs();
    if (left > 0) Sleep(static_cast<DWORD>(left + 0.5));
  }
  EndDialog(IDCANCEL);
}

void CStartDlg::Paint(HDC dc) {
  if (!offscreen_) return;
  ui::WindowDC screen(nullptr);
  ui::MemoryDC memory(CreateCompatibleDC(screen.get()));
  ui::Select select(memory.get(), offscreen_.get());
  RECT all = {0, 0, kWidth, kHeight};
  FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (ui::Usable(background_.get())) {
    Gdiplus::Graphics g(memory.get());
    g.DrawImage(background_.get(), 0, 0, static_cast<INT>(background_->GetWidth()),
                static_cast<INT>(background_->GetHeight()));
  }
  ui::Select font(memory.get(), font_.get());
  SetBkMode(memory.get(), TRANSPARENT);
  SetTextColor(memory.get(), RGB(255, 255, 255));
  TextOutW(memory.get(), 350, 200, status_.c_str(), static_cast<int>(status_.size()));
  TextOutW(memory.get(), 350, 218, product::kWebAddress, static_cast<int>(wcslen(product::kWebAddress)));
  TextOutW(memory.get(), 350, 236, product::kVersion, static_cast<int>(wcslen(product::kVersion)));
  BitBlt(dc, 0, 0, kWidth, kHeight, memory.get(), 0, 0, SRCCOPY);
}

void CStartDlg::ReleaseResources() {
  KillTimer(hwnd(), kTimer);
  background_.reset();
  offscreen_.reset();
  font_.reset();
}

bool CStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  switch (message) {
    case WM_DESTROY:
      ReleaseResources();
      return false;
  }
  return false;
}

bool CStartDlg::OnTimer(UINT_PTR id) {
  if (id == kTimer && ++ticks_ == 10) {
    KillTimer(hwnd(), kTimer);
    RunPreload();
  }
  return true;
}

// Enter and Escape do not end the splash.
bool CStartDlg::OnCommand(int id, int, HWND) { return id == IDOK || id == IDCANCEL; }

#include "ui/menu/button_menu.h"

#include "ui/gdi.h"
#include "ui/paint.h"

namespace {

// Image paths are kept whole, so an image loaded late still comes from the program's folder.
std::wstring FullPath(const wchar_t* path) {
  if (!path || !*path) return std::wstring();
  wchar_t full[MAX_PATH] = {};
  DWORD length = GetFullPathNameW(path, MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(full) : std::wstring(path);
}

}  // namespace

CButtonMenu::~CButtonMenu() {
  // The images go before the window link, so nothing paints with a released image.
  headers_.clear();
  items_.clear();
}

void CButtonMenu::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void CButtonMenu::AddGroup(int index, int itemCount) { groups_.push_back(Group{index, itemCount < 0 ? 0 : itemCount}); }

void CButtonMenu::AddGroupImages(const wchar_t* normal, const wchar_t* down, const wchar_t* over) {
  Images images;
  images.normal = FullPath(normal);
  images.down = FullPath(down);
  images.over = FullPath(over);
  images.group = static_cast<int>(headers_.size());
  headers_.push_back(std::move(images));
}

void CButtonMenu::AddItemImages(int group, const wchar_t* normal, const wchar_t* down, const wchar_t* over) {
  Images images;
  images.normal = FullPath(normal);
  images.down = FullPath(down);
  images.over = FullPath(over);
  images.group = group;
  items_.push_back(std::move(images));
}

Gdiplus::Bitmap* CButtonMenu::Image(Images& images, State state) {
  ui::GpBitmap& image = state == kNormal ? images.normalImage : state == kDown ? images.downImage : images.overImage;
  if (!image) image = ui::LoadBitmapFile((state == kNormal ? images.normal : state == kDown ? images.down : images.over).c_str());
  return image.get();
}

bool CButtonMenu::LoadSomeImages(int count) {
  // What the menu shows at rest, in this order: the headers' normal and down images, then the
  // items' normal ones. The rest (hovered and pressed looks) is loaded when first drawn.
  size_t index = 0;
  const std::pair<std::vector<Images>*, State> order[] = {{&headers_, kNormal}, {&headers_, kDown}, {&items_, kNormal}};
  for (const auto& step : order) {
    for (Images& i : *step.first) {
      if (index++ < imagesLoaded_) continue;
      if (count-- <= 0) return false;
      Image(i, step.second);
      ++imagesLoaded_;
    }
  }
  return true;
}

void CButtonMenu::LoadImages() {
  LoadSomeImages(1 << 30);
}

void CButtonMenu::SetMetrics(int headerHeight, int itemHeight, int imageWidth) {
  headerHeight_ = headerHeight;
  itemHeight_ = itemHeight;
  imageWidth_ = imageWidth;
}

void CButtonMenu::PostGroupCommand(int n) {
  if (hwnd()) PostMessageW(GetParent(hwnd()), base_ + 100 * n, 0, 0);
}

int CButtonMenu::ItemCount(int group) const {
  return group >= 0 && group < GroupCount() ? groups_[group].items : 0;
}

int CButtonMenu::HeaderTop(int group) const {
  int top = group * headerHeight_;
  if (group > current_) top += ItemCount(current_) * itemHeight_;
  return top;
}

int CButtonMenu::ItemTop(int item) const { return (current_ + 1) * headerHeight_ + item * itemHeight_; }

bool CButtonMenu::InHeader(int group, int y) const {
  int top = HeaderTop(group);
  return y > top && y < top + headerHeight_;
}

bool CButtonMenu::InItem(int item, int y) const {
  if (item < 0 || item >= ItemCount(current_)) return false;
  int top = ItemTop(item);
  return y > top && y < top + itemHeight_;
}

std::vector<CButtonMenu::Images*> CButtonMenu::CurrentItems() {
  std::vector<Images*> result;
  for (Images& i : items_) {
    if (i.group == current_) result.push_back(&i);
  }
  return result;
}

void CButtonMenu::Send(UINT message) {
  if (hwnd()) SendMessageW(GetParent(hwnd()), message, 0, 0);
}

void CButtonMenu::Repaint() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CButtonMenu::SetCursorFor(int y) {
  int end = GroupCount() * headerHeight_ + ItemCount(current_) * itemHeight_;
  SetCursor(LoadCursorW(nullptr, y > 0 && y < end ? IDC_HAND : IDC_ARROW));
}

void CButtonMenu::OnButtonDown(int y) {
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  for (int g = 0; g < GroupCount(); ++g) {
    if (!InHeader(g, y)) continue;
    // A header below the expanded items moves up as its group opens: no pressed look for it,
    // unless nothing was expanded above it.
    bool pressedLook = g <= current_ || ItemCount(current_) == 0;
    current_ = g;
    headerPressed_ = pressedLook;
    selected_ = -1;
    if (ItemCount(g) == 0) rememberedGroup_ = rememberedItem_ = -1;
    Send(base_ + 100 * (g + 1));
    Repaint();
    return;
  }
  for (int i = 0; i < ItemCount(current_); ++i) {
    if (!InItem(i, y)) continue;
    selected_ = i;
    itemPressed_ = true;
    rememberedGroup_ = current_;
    rememberedItem_ = i;
    Send(base_ + 100 * (current_ + 1) + (i + 1));
    Repaint();
    return;
  }
}

void CButtonMenu::OnButtonUp() {
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  headerPressed_ = itemPressed_ = false;
  Repaint();
}

void CButtonMenu::OnMouseMove(int y) {
  if (!tracking_) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd(), 0};
    TrackMouseEvent(&track);
    tracking_ = true;
  }
  bool changed = false;
  for (int g = 0; g < GroupCount(); ++g) {
    if (InHeader(g, y)) {
      if (hoverHeader_ != g) {
        hoverHeader_ = g;
        hoverItem_ = -1;
        changed = true;
      }
    } else if (g > current_ && y >= HeaderTop(g) + headerHeight_ && hoverHeader_ != -1) {
      hoverHeader_ = -1;  // below a pushed-down header: off the headers
      changed = true;
    }
  }
  bool onItem = false;
  for (int i = 0; i < ItemCount(current_); ++i) {
    if (InItem(i, y)) {
      if (hoverItem_ != i || hoverHeader_ != -1) changed = true;
      hoverItem_ = i;
      hoverHeader_ = -1;
      onItem = true;
      break;
    }
  }
  if (!onItem && hoverItem_ != -1) {
    hoverItem_ = -1;
    changed = true;
  }
  if (headerPressed_ && !InHeader(current_, y)) {
    headerPressed_ = false;
    changed = true;
  }
  if (itemPressed_ && !InItem(selected_, y)) {
    itemPressed_ = false;
    changed = true;
  }
  if (changed) Repaint();
  SetCursorFor(y);
}

void CButtonMenu::OnMouseLeave() {
  hoverHeader_ = hoverItem_ = -1;
  tracking_ = false;
  headerPressed_ = itemPressed_ = false;
  Repaint();
}

void CButtonMenu::DrawImage(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, int x, int y, int height) {
  if (ui::Usable(image)) g.DrawImage(image, x, y, imageWidth_, height);
}

void CButtonMenu::Paint(HDC dc) {
  // Composed off screen and copied in one go, so the menu never flickers; the bitmap lives for one
  // paint (a menu at rest would otherwise hold 340 KB for nothing).
  Gdiplus::Bitmap offscreen(width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics g(&offscreen);
    g.Clear(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::Pen frame(Gdiplus::Color(255, GetRValue(kAccent), GetGValue(kAccent), GetBValue(kAccent)), 1);
    g.DrawRectangle(&frame, 0, 0, width_ - 1, height_ - 1);

    for (int group = 0; group < GroupCount() && group < static_cast<int>(headers_.size()); ++group) {
      Images& h = headers_[group];
      Gdiplus::Bitmap* image = Image(h, group == current_ ? kDown : group == hoverHeader_ ? kOver : kNormal);
      DrawImage(g, image, 0, HeaderTop(group), headerHeight_);
    }
    std::vector<Images*> current = CurrentItems();
    for (int i = 0; i < static_cast<int>(current.size()) && i < ItemCount(current_); ++i) {
      Gdiplus::Bitmap* image = Image(*current[i], i == selected_ ? kDown : i == hoverItem_ ? kOver : kNormal);
      DrawImage(g, image, 0, ItemTop(i), itemHeight_);
    }
    // The last chosen item stays marked while the pointer is elsewhere.
    if (rememberedGroup_ == current_ && rememberedItem_ >= 0 && rememberedItem_ < static_cast<int>(current.size())) {
      DrawImage(g, Image(*current[rememberedItem_], kDown), 0, ItemTop(rememberedItem_), itemHeight_);
    }
    Gdiplus::SolidBrush accent(Gdiplus::Color(255, GetRValue(kAccent), GetGValue(kAccent), GetBValue(kAccent)));
    if (headerPressed_ && current_ < static_cast<int>(headers_.size())) {
      int top = HeaderTop(current_);
      g.FillRectangle(&accent, 0, top, imageWidth_ - 2, headerHeight_ - 2);
      DrawImage(g, Image(headers_[current_], kDown), 2, top + 2, headerHeight_);
    }
    if (itemPressed_ && selected_ >= 0 && selected_ < static_cast<int>(current.size())) {
      int top = ItemTop(selected_);
      g.FillRectangle(&accent, 0, top, imageWidth_ - 2, itemHeight_ - 2);
      DrawImage(g, Image(*current[selected_], kDown), 2, top + 2, itemHeight_);
    }
  }
  Gdiplus::Graphics screen(dc);
  screen.DrawImage(&offscreen, 0, 0, width_, height_);
}

bool CButtonMenu::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  const int y = ui::PointFromLParam(lParam).y;
  switch (message) {
    case WM_NCHITTEST:
      result = HTCLIENT;  // a static control would let the mouse through
      return true;
    case WM_MOUSEMOVE:
      if (!locked_) OnMouseMove(y);
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (!locked_) OnButtonDown(y);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (!locked_) OnButtonUp();
      return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      if (!locked_) SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return true;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return true;
    case WM_SETCURSOR:
      // The mouse handlers choose the cursor; a locked menu shows that it does not react.
      if (locked_) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      result = TRUE;
      return true;
  }
  return false;
}

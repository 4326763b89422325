#include "pages/cleaning/tree_icons.h"

#include <objidl.h>
#include <gdiplus.h>

#include <initializer_list>
#include <memory>

#include "ui/gdi.h"

namespace cleaning_pages {
namespace {

using Gdiplus::Color;
using Gdiplus::Graphics;

const Color kGreen(255, 0, 141, 66);
const Color kPaleGreen(255, 214, 236, 222);
const Color kLine(255, 110, 140, 122);
const Color kWhite(255, 255, 255, 255);

void Category(Graphics& g) {
  Gdiplus::SolidBrush paper(kWhite);
  Gdiplus::Pen edge(kLine, 1.0f);
  g.FillRectangle(&paper, 3, 1, 10, 14);
  g.DrawRectangle(&edge, 3, 1, 10, 14);
  Gdiplus::Pen line(Color(255, 150, 178, 160), 1.0f);
  for (int y : {5, 8, 11}) g.DrawLine(&line, 5, y, 11, y);
}

void SystemWindow(Graphics& g) {
  Gdiplus::SolidBrush paper(kWhite), bar(kGreen);
  Gdiplus::Pen edge(kGreen, 1.0f);
  g.FillRectangle(&paper, 1, 2, 14, 12);
  g.FillRectangle(&bar, 1, 2, 14, 3);
  g.DrawRectangle(&edge, 1, 2, 14, 12);
  Gdiplus::SolidBrush pane(kPaleGreen);
  g.FillRectangle(&pane, 3, 7, 5, 5);
}

void Globe(Graphics& g, const Color& fill, const Color& edge) {
  Gdiplus::SolidBrush body(fill);
  Gdiplus::Pen rim(edge, 1.2f), grid(Color(200, 255, 255, 255), 1.0f);
  g.FillEllipse(&body, 1.0f, 1.0f, 14.0f, 14.0f);
  g.DrawEllipse(&grid, 5.0f, 1.5f, 6.0f, 13.0f);
  g.DrawLine(&grid, 1.5f, 8.0f, 14.5f, 8.0f);
  g.DrawLine(&grid, 3.0f, 4.5f, 13.0f, 4.5f);
  g.DrawLine(&grid, 3.0f, 11.5f, 13.0f, 11.5f);
  g.DrawEllipse(&rim, 1.0f, 1.0f, 14.0f, 14.0f);
}

void PlugIn(Graphics& g) {
  Gdiplus::SolidBrush piece(kGreen), hole(kWhite);
  g.FillRectangle(&piece, 1, 5, 10, 10);
  g.FillEllipse(&piece, 3, 1, 6, 6);    // the knob on top
  g.FillEllipse(&piece, 9, 7, 6, 6);    // the knob on the right
  g.FillEllipse(&hole, -2, 8, 5, 5);    // the socket on the left
}

// A hard disk seen from the front: a grey case with a green activity light.
void Drive(Graphics& g) {
  Gdiplus::SolidBrush body(Color(255, 226, 230, 228)), light(kGreen);
  Gdiplus::Pen edge(Color(255, 120, 128, 124), 1.0f), slot(Color(255, 160, 168, 164), 1.0f);
  g.FillRectangle(&body, 1, 5, 14, 7);
  g.DrawRectangle(&edge, 1, 5, 14, 7);
  g.DrawLine(&slot, 3, 8, 9, 8);
  g.FillRectangle(&light, 11, 9, 2, 2);
}

using Draw = void (*)(Graphics&);
void Browser1(Graphics& g) { Globe(g, Color(255, 66, 140, 214), Color(255, 30, 96, 170)); }
void Browser2(Graphics& g) { Globe(g, Color(255, 240, 140, 50), Color(255, 196, 96, 20)); }
void OtherGlobe(Graphics& g) { Globe(g, Color(255, 120, 130, 124), Color(255, 80, 90, 84)); }

// One picture: a skin file (16 x 16) when it is given and loads, otherwise the drawn one.
struct Picture {
  Draw draw;
  const wchar_t* file = nullptr;
};

bool AddPicture(HIMAGELIST list, const Picture& picture) {
  std::unique_ptr<Gdiplus::Bitmap> bitmap;
  if (picture.file) {
    bitmap.reset(Gdiplus::Bitmap::FromFile(picture.file));
    if (bitmap && (bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() != 16 || bitmap->GetHeight() != 16)) {
      bitmap.reset();
    }
  }
  if (!bitmap) {
    bitmap = std::make_unique<Gdiplus::Bitmap>(16, 16, PixelFormat32bppARGB);
    Graphics g(bitmap.get());
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.Clear(Color(0, 0, 0, 0));
    picture.draw(g);
  }
  HICON raw = nullptr;
  if (bitmap->GetHICON(&raw) != Gdiplus::Ok) return false;
  ui::Icon icon(raw);
  return ImageList_AddIcon(list, icon.get()) >= 0;
}

HIMAGELIST MakeIcons(std::initializer_list<Picture> pictures) {
  ui::ImageList list(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, static_cast<int>(pictures.size()), 0));
  if (!list) return nullptr;
  for (const Picture& picture : pictures) {
    if (!AddPicture(list.get(), picture)) return nullptr;
  }
  return list.release();
}

}  // namespace

HIMAGELIST MakeTreeIcons() {
  return MakeIcons({{Category},
                    {SystemWindow},
                    {Browser1},
                    {Browser2},
                    {PlugIn},
                    {OtherGlobe, L"Res\\Dialog\\QOR_Tree_Chrome.png"},
                    {OtherGlobe, L"Res\\Dialog\\QOR_Tree_Edge.png"},
                    {OtherGlobe, L"Res\\Dialog\\QOR_Tree_Browsers.png"}});
}

HIMAGELIST MakeDriveIcon() { return MakeIcons({{Drive}}); }

}  // namespace cleaning_pages

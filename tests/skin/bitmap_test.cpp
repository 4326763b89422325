// Skin bitmaps: which files load, JPEG pictures while the file is held open elsewhere, the
// transparent copy, and the region of a bitmap compared in its own depth.
#include "ui/skin/bitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/skin/skin_files.h"
#include "tests/support/scratch.h"
#include "ui/gdiplus.h"

namespace {

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  ui::WindowDC screen(nullptr);
  ui::MemoryDC dc(CreateCompatibleDC(screen.get()));
  ui::Select select(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(EnBitmap, LoadsBmpAndJpgByTheirEndingInAnyCaseAndNothingElse) {
  test::ScratchFolder folder;
  auto red = [](int, int) { return RGB(200, 10, 10); };
  ASSERT_TRUE(test::WriteBitmap(folder / L"a.bmp", 5, 3, red));
  ASSERT_TRUE(test::WriteBitmap(folder / L"b.BMP", 5, 3, red));
  ASSERT_TRUE(test::WriteBitmap(folder / L"c.png", 5, 3, red));  // a bitmap, but named .png
  ASSERT_TRUE(skin_test::WriteResource(L"PHOTO_JPG", folder / L"d.Jpg"));
  ASSERT_TRUE(skin_test::WriteResource(L"PHOTO_JPG", folder / L"e.jpeg"));

  CEnBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadImage((folder / L"a.bmp").c_str()));
  EXPECT_EQ(5, bitmap.Width());
  EXPECT_EQ(3, bitmap.Height());
  EXPECT_EQ(RGB(200, 10, 10), PixelOf(bitmap.GetSafeHandle(), 4, 2));
  EXPECT_TRUE(bitmap.LoadImage((folder / L"b.BMP").c_str()));
  EXPECT_FALSE(bitmap.LoadImage((folder / L"c.png").c_str()));
  EXPECT_FALSE(bitmap.IsLoaded());  // the bitmap held before is gone too
  EXPECT_TRUE(bitmap.LoadImage((folder / L"d.Jpg").c_str()));
  EXPECT_EQ(16, bitmap.Width());
  EXPECT_EQ(8, bitmap.Height());
  EXPECT_TRUE(Near(RGB(0x30, 0x70, 0xB0), PixelOf(bitmap.GetSafeHandle(), 8, 4), 6));
  EXPECT_FALSE(bitmap.LoadImage((folder / L"e.jpeg").c_str()));  // five characters of ending
  EXPECT_FALSE(bitmap.LoadImage((folder / L"missing.bmp").c_str()));
  EXPECT_FALSE(bitmap.LoadImage(L".BM"));
  EXPECT_FALSE(bitmap.LoadImage(nullptr));
}

TEST(EnBitmap, LoadsAJpegThatAGdiplusImageHoldsOpen) {
  test::ScratchFolder folder;
  std::wstring path = folder / L"held.jpg";
  ASSERT_TRUE(skin_test::WriteResource(L"PHOTO_JPG", path));
  ui::GpBitmap held = ui::LoadBitmapFile(path.c_str());
  ASSERT_TRUE(ui::Usable(held.get()));
  CEnBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadImage(path.c_str()));
  EXPECT_EQ(16, bitmap.Width());
}

TEST(LoadBitmapFile, KeepsThePixelsExactlyAndNotTheFile) {
  test::ScratchFolder folder;
  std::wstring path = folder / L"p.bmp";
  ASSERT_TRUE(test::WriteBitmap(path, 7, 5, [](int x, int y) { return RGB(30 * x, 40 * y, 200); }));
  ui::GpBitmap image = ui::LoadBitmapFile(path.c_str());
  ASSERT_TRUE(ui::Usable(image.get()));
  EXPECT_TRUE(DeleteFileW(path.c_str())) << "the file is closed once loaded";
  ASSERT_EQ(7u, image->GetWidth());
  Gdiplus::Color c;
  ASSERT_EQ(Gdiplus::Ok, image->GetPixel(6, 4, &c));
  EXPECT_EQ(RGB(180, 160, 200), RGB(c.GetR(), c.GetG(), c.GetB()));
  EXPECT_FALSE(ui::Usable(ui::LoadBitmapFile(path.c_str()).get()));
}

TEST(XuBitmap, TransparentCopyLeavesTheMaskColourOut) {
  test::ScratchFolder folder;
  // Left half magenta, right half blue.
  ASSERT_TRUE(test::WriteBitmap(folder / L"m.bmp", 8, 4,
                                     [](int x, int) { return x < 4 ? RGB(255, 0, 255) : RGB(0, 0, 200); }));
  CXuBitmap image;
  ASSERT_TRUE(image.LoadImage((folder / L"m.bmp").c_str()));

  ui::WindowDC screen(nullptr);
  ui::MemoryDC dc(CreateCompatibleDC(screen.get()));
  ui::Bitmap target(CreateCompatibleBitmap(screen.get(), 10, 6));
  ui::Select select(dc.get(), target.get());
  RECT all = {0, 0, 10, 6};
  ui::Brush green(CreateSolidBrush(RGB(0, 150, 0)));
  FillRect(dc.get(), &all, green.get());
  image.DrawTransparent(dc.get(), 1, 1, RECT{0, 0, 8, 4}, RGB(255, 0, 255));
  EXPECT_EQ(RGB(0, 150, 0), GetPixel(dc.get(), 2, 2));  // mask: the destination shows through
  EXPECT_EQ(RGB(0, 0, 200), GetPixel(dc.get(), 6, 2));
  EXPECT_EQ(RGB(0, 150, 0), GetPixel(dc.get(), 0, 0));  // outside the copy
  // A part of the image: only its columns land, at the given place.
  image.DrawTransparent(dc.get(), 0, 0, RECT{4, 0, 6, 1}, RGB(255, 0, 255));
  EXPECT_EQ(RGB(0, 0, 200), GetPixel(dc.get(), 0, 0));
  EXPECT_EQ(RGB(0, 150, 0), GetPixel(dc.get(), 2, 0));
}

// A DIB section of the given depth; pixel(x, y) gives the value stored.
HBITMAP MakeDib(int bits, int width, int height, const std::function<DWORD(int, int)>& pixel,
                const RGBQUAD* palette = nullptr, int colours = 0) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info = {};
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = colours;
  for (int i = 0; i < colours; ++i) info.colours[i] = palette[i];
  void* data = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &data, nullptr, 0);
  if (!dib) return nullptr;
  const int stride = ((width * bits + 31) / 32) * 4;
  for (int y = 0; y < height; ++y) {
    BYTE* row = static_cast<BYTE*>(data) + y * stride;
    for (int x = 0; x < width; ++x) {
      DWORD v = pixel(x, y);
      if (bits == 8) row[x] = static_cast<BYTE>(v);
      if (bits == 16) reinterpret_cast<WORD*>(row)[x] = static_cast<WORD>(v);
      if (bits == 24) memcpy(row + x * 3, &v, 3);
      if (bits == 32) reinterpret_cast<DWORD*>(row)[x] = v;
    }
  }
  return dib;
}

std::vector<POINT> Inside(HRGN region, int width, int height) {
  std::vector<POINT> points;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (PtInRegion(region, x, y)) points.push_back(POINT{x, y});
    }
  }
  return points;
}

TEST(XuBitmap, RegionHoldsEveryPixelThatIsNotTheColourInEachDepth) {
  const COLORREF key = RGB(255, 0, 255);
  // In every depth: (1, 0), (2, 0) and (0, 2) are the key colour, everything else is not.
  auto isKey = [](int x, int y) { return (y == 0 && (x == 1 || x == 2)) || (x == 0 && y == 2); };
  RGBQUAD palette[2] = {{0, 120, 0, 0}, {255, 0, 255, 0}};  // blue, green, red order
  struct Case {
    int bits;
    DWORD keyValue, otherValue;
  } cases[] = {
      {8, 1, 0},
      {16, (31u << 10) | 31u, (3u << 5)},  // 5-5-5: magenta, a dark green
      {16, (31u << 10) | 31u, (31u << 10) | (1u << 5) | 31u},  // one green step from the key is not the key
      {24, 0xFF00FF, 0x007800},
      {32, 0x00FF00FF, 0x00007800},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    CXuBitmap image;
    image.Attach(MakeDib(c.bits, 4, 3, [&](int x, int y) { return isKey(x, y) ? c.keyValue : c.otherValue; },
                         palette, c.bits == 8 ? 2 : 0));
    ASSERT_TRUE(image.IsLoaded());
    ui::Region region(image.CreateRegion(key));
    ASSERT_TRUE(region);
    std::vector<POINT> inside = Inside(region.get(), 4, 3);
    EXPECT_EQ(9u, inside.size());
    for (const POINT& p : inside) EXPECT_FALSE(isKey(p.x, p.y)) << p.x << "," << p.y;
  }
}

TEST(XuBitmap, RegionOfABitmapThatIsAllOneColourIsEmptyAndOfNothingIsNull) {
  CXuBitmap image;
  EXPECT_EQ(nullptr, image.CreateRegion(RGB(0, 0, 0)));
  image.Attach(MakeDib(32, 50, 40, [](int, int) { return 0x00FF00FFu; }));
  ui::Region region(image.CreateRegion(RGB(255, 0, 255)));
  ASSERT_TRUE(region);
  RECT box = {};
  EXPECT_EQ(NULLREGION, GetRgnBox(region.get(), &box));
}

TEST(XuBitmap, RegionOfManyRunsKeepsThemAll) {
  // Every other pixel differs: far more runs than scan lines, so the run list must grow.
  CXuBitmap image;
  image.Attach(MakeDib(32, 101, 30, [](int x, int y) { return (x + y) % 2 ? 0x00FF00FFu : 0x00123456u; }));
  ui::Region region(image.CreateRegion(RGB(255, 0, 255)));
  ASSERT_TRUE(region);
  EXPECT_EQ(101u * 30u / 2u, Inside(region.get(), 101, 30).size());
}

}  // namespace

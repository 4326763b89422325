#include "ui/skin/bitmap.h"

#include <olectl.h>
#include <ocidl.h>

#include <cwchar>
#include <cwctype>
#include <vector>

#include "base/com.h"
#include "base/handles.h"

namespace {

struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { GlobalFree(h); }
};
using UniqueGlobal = base::Scoped<GlobalTraits>;

// The file's bytes in a movable global block, for a stream. Reading the file ourselves (rather than
// OleLoadPicturePath) works while another handle to the file is open, such as a GDI+ image of it.
UniqueGlobal ReadFileToGlobal(const wchar_t* path, DWORD& size) {
  base::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  size = 0;
  if (!file) return UniqueGlobal();
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0 || length.QuadPart > (64 << 20)) return UniqueGlobal();
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length.QuadPart)));
  if (!block) return UniqueGlobal();
  void* bytes = GlobalLock(block.get());
  DWORD read = 0;
  BOOL ok = bytes && ReadFile(file.get(), bytes, static_cast<DWORD>(length.QuadPart), &read, nullptr);
  if (bytes) GlobalUnlock(block.get());
  if (!ok || read != length.QuadPart) return UniqueGlobal();
  size = read;
  return block;
}

}  // namespace

int CEnBitmap::Width() const {
  BITMAP bm = {};
  return bitmap_ && GetObjectW(bitmap_.get(), sizeof(bm), &bm) ? bm.bmWidth : 0;
}

int CEnBitmap::Height() const {
  BITMAP bm = {};
  return bitmap_ && GetObjectW(bitmap_.get(), sizeof(bm), &bm) ? bm.bmHeight : 0;
}

int CEnBitmap::BitsPerPixel() const {
  BITMAP bm = {};
  return bitmap_ && GetObjectW(bitmap_.get(), sizeof(bm), &bm) ? bm.bmBitsPixel : 0;
}

bool CEnBitmap::LoadImage(const wchar_t* path, COLORREF background) {
  bitmap_.reset();
  if (!path) return false;
  size_t length = wcslen(path);
  if (length < 4) return false;
  wchar_t ending[5] = {};
  for (int i = 0; i < 4; ++i) ending[i] = static_cast<wchar_t>(towupper(path[length - 4 + i]));
  if (wcscmp(ending, L".BMP") == 0) {
    bitmap_.reset(static_cast<HBITMAP>(::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  } else if (wcscmp(ending, L".JPG") == 0) {
    bitmap_.reset(LoadJpeg(path, background));
  }
  return bitmap_.valid();
}

HBITMAP CEnBitmap::LoadJpeg(const wchar_t* path, COLORREF background) {
  DWORD size = 0;
  UniqueGlobal block = ReadFileToGlobal(path, size);
  if (!block) return nullptr;
  base::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, stream.receive()))) return nullptr;
  base::ComPtr<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                            picture.receiveVoid()))) {
    return nullptr;
  }
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);

  ui::WindowDC screen(nullptr);
  int width = 0, height = 0;
  OLE_HANDLE handle = 0;
  SHORT type = PICTYPE_UNINITIALIZED;
  BITMAP bm = {};
  if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)) &&
      GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof(bm), &bm)) {
    width = bm.bmWidth;  // exact, where a conversion from HIMETRIC may be a pixel off
    height = bm.bmHeight;
  } else {
    width = MulDiv(himetricWidth, GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    height = MulDiv(himetricHeight, GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
  }
  if (width <= 0 || height <= 0) return nullptr;

  ui::MemoryDC dc(CreateCompatibleDC(screen.get()));
  ui::Bitmap result(CreateCompatibleBitmap(screen.get(), width, height));
  if (!dc || !result) return nullptr;
  {
    ui::Select select(dc.get(), result.get());
    RECT all = {0, 0, width, height};
    ui::Brush fill(CreateSolidBrush(background));
    FillRect(dc.get(), &all, fill.get());
    if (FAILED(picture->Render(dc.get(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight,
                                 nullptr))) {
      return nullptr;
    }
  }
  return result.release();
}

void CXuBitmap::Draw(HDC dc, int x, int y) const {
  RECT all = {0, 0, Width(), Height()};
  Draw(dc, x, y, all);
}

void CXuBitmap::Draw(HDC dc, int x, int y, const RECT& source) const {
  if (!IsLoaded()) return;
  ui::MemoryDC memory(CreateCompatibleDC(dc));
  ui::Select select(memory.get(), GetSafeHandle());
  BitBlt(dc, x, y, source.right - source.left, source.bottom - source.top, memory.get(), source.left, source.top,
         SRCCOPY);
}

void CXuBitmap::Stretch(HDC dc, const RECT& destination) const {
  RECT all = {0, 0, Width(), Height()};
  Stretch(dc, destination, all);
}

void CXuBitmap::Stretch(HDC dc, const RECT& destination, const RECT& source) const {
  if (!IsLoaded()) return;
  ui::MemoryDC memory(CreateCompatibleDC(dc));
  ui::Select select(memory.get(), GetSafeHandle());
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, destination.left, destination.top, destination.right - destination.left,
             destination.bottom - destination.top, memory.get(), source.left, source.top, source.right - source.left,
             source.bottom - source.top, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void CXuBitmap::DrawTransparent(HDC dc, int x, int y, const RECT& source, COLORREF mask) const {
  if (!IsLoaded()) return;
  int width = source.right - source.left, height = source.bottom - source.top;
  if (width <= 0 || height <= 0) return;
  ui::MemoryDC image(CreateCompatibleDC(dc));
  ui::Select selectImage(image.get(), GetSafeHandle());

  // The mask: white where the image has the mask colour, black elsewhere.
  ui::MemoryDC maskDC(CreateCompatibleDC(dc));
  ui::Bitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
  ui::Select selectMask(maskDC.get(), maskBitmap.get());
  COLORREF oldImageBk = SetBkColor(image.get(), mask);
  BitBlt(maskDC.get(), 0, 0, width, height, image.get(), source.left, source.top, SRCCOPY);
  SetBkColor(image.get(), oldImageBk);

  // The image with its mask-coloured pixels turned black.
  ui::MemoryDC cutDC(CreateCompatibleDC(dc));
  ui::Bitmap cutBitmap(CreateCompatibleBitmap(dc, width, height));
  ui::Select selectCut(cutDC.get(), cutBitmap.get());
  BitBlt(cutDC.get(), 0, 0, width, height, image.get(), source.left, source.top, SRCCOPY);
  SetTextColor(cutDC.get(), RGB(255, 255, 255));
  SetBkColor(cutDC.get(), RGB(0, 0, 0));
  BitBlt(cutDC.get(), 0, 0, width, height, maskDC.get(), 0, 0, SRCAND);

  // Clear the opaque pixels of the destination, then paint the image into them.
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, width, height, maskDC.get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, width, height, cutDC.get(), 0, 0, SRCPAINT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
}

HRGN CXuBitmap::CreateRegion(COLORREF transparent) const {
  if (!IsLoaded()) return nullptr;
  const int width = Width(), height = Height();
  const int depth = BitsPerPixel();
  if (width <= 0 || height <= 0) return nullptr;

  // Read the pixels as 32-bit values: palette entries and 24- or 32-bit pixels convert exactly, so
  // comparing there is comparing in the bitmap's own depth. 16-bit pixels are widened from five
  // bits per colour (six for green in 5-6-5), so they and the colour are compared on their top
  // five bits, which both formats keep exactly.
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  {
    ui::WindowDC screen(nullptr);
    if (!GetDIBits(screen.get(), GetSafeHandle(), 0, height, pixels.data(), &bi, DIB_RGB_COLORS)) return nullptr;
  }
  // DIB order is blue, green, red: swap the colour's red and blue to compare.
  DWORD key = (GetRValue(transparent) << 16) | (GetGValue(transparent) << 8) | GetBValue(transparent);
  auto narrow = [depth](DWORD p) -> DWORD {
    if (depth == 16) return ((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 | ((p >> 3) & 0x1F);
    return p & 0xFFFFFF;
  };
  const DWORD keyNarrow = narrow(key);

  std::vector<RECT> runs;
  runs.reserve(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const DWORD* row = pixels.data() + static_cast<size_t>(y) * width;
    int x = 0;
    while (x < width) {
      while (x < width && narrow(row[x]) == keyNarrow) ++x;
      int start = x;
      while (x < width && narrow(row[x]) != keyNarrow) ++x;
      if (x > start) {
        if (runs.size() == runs.capacity()) runs.reserve(runs.capacity() + 40);
        runs.push_back(RECT{start, y, x, y + 1});
      }
    }
  }
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(runs.size());
  header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  header->rcBound = RECT{0, 0, width, height};
  if (!runs.empty()) memcpy(data.data() + sizeof(RGNDATAHEADER), runs.data(), runs.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
}

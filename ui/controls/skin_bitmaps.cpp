#include "ui/controls/skin_bitmaps.h"

#include <map>
#include <mutex>

#include "base/handles.h"

namespace ui {
namespace {

std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}

// Expired entries are dropped as new ones come, so the map holds at most the skin's file names.
std::map<std::wstring, std::weak_ptr<const Bitmap>>& Cache() {
  static auto* cache = new std::map<std::wstring, std::weak_ptr<const Bitmap>>();  // outlives every holder
  return *cache;
}

template <typename T>
bool ReadExactly(HANDLE file, T* value) {
  DWORD read = 0;
  return ReadFile(file, value, sizeof(T), &read, nullptr) && read == sizeof(T);
}

}  // namespace

std::shared_ptr<const Bitmap> SharedSkinBitmap(const std::wstring& fullPath) {
  std::lock_guard<std::mutex> hold(CacheLock());
  auto& cache = Cache();
  auto found = cache.find(fullPath);
  if (found != cache.end()) {
    if (auto bitmap = found->second.lock()) return bitmap;
  }
  auto bitmap = std::make_shared<Bitmap>(static_cast<HBITMAP>(
      LoadImageW(nullptr, fullPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!bitmap->valid()) return nullptr;
  for (auto i = cache.begin(); i != cache.end();) i = i->second.expired() ? cache.erase(i) : std::next(i);
  cache[fullPath] = bitmap;
  return bitmap;
}

bool ReadBitmapSize(const std::wstring& path, SIZE* size) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  BITMAPFILEHEADER header = {};
  DWORD infoSize = 0;
  if (!file || !ReadExactly(file.get(), &header) || header.bfType != 0x4D42 || !ReadExactly(file.get(), &infoSize))
    return false;
  LONG width = 0, height = 0;
  if (infoSize == sizeof(BITMAPCOREHEADER)) {  // the OS/2 header: 16-bit sizes
    WORD core[2] = {};
    if (!ReadExactly(file.get(), &core)) return false;
    width = core[0];
    height = core[1];
  } else if (infoSize >= sizeof(BITMAPINFOHEADER)) {
    LONG sizes[2] = {};
    if (!ReadExactly(file.get(), &sizes)) return false;
    width = sizes[0];
    height = sizes[1] < 0 ? -sizes[1] : sizes[1];
  }
  if (width <= 0 || height <= 0) return false;
  *size = SIZE{width, height};
  return true;
}

}  // namespace ui

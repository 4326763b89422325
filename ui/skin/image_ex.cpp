#include "ui/skin/image_ex.h"
#include "base/thread.h"

#include <process.h>

#include <cstring>

namespace {

// Holds the image's lock for a scope.
class Hold {
 public:
  explicit Hold(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~Hold() { LeaveCriticalSection(&cs_); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

}  // namespace

ImageEx::ImageEx(const wchar_t* path) : Gdiplus::Image(path) { Initialise(); }

ImageEx::ImageEx(const wchar_t* type, const wchar_t* name) : ImageEx(ResourceStream(type, name)) {}

ImageEx::ImageEx(IStream* stream) : Gdiplus::Image(stream), stream_(stream) { Initialise(); }

void ImageEx::Initialise() {
  InitializeCriticalSection(&lock_);
  // Reading the status clears it; a failed load is made to fail a call again, so that the
  // caller's GetLastStatus still tells.
  initialised_ = Gdiplus::Image::GetLastStatus() == Gdiplus::Ok;
  if (initialised_) {
    TestForAnimation();
  } else {
    GetWidth();
  }
}

ImageEx::~ImageEx() {
  Destroy();
  DeleteCriticalSection(&lock_);
}

IStream* ImageEx::ResourceStream(const wchar_t* type, const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, name, type);
  if (!resource) return nullptr;
  DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  void* copy = GlobalLock(block);
  if (!copy) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(copy, bytes, size);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {  // the stream owns the block
    GlobalFree(block);
    return nullptr;
  }
  return stream;
}

void ImageEx::TestForAnimation() {
  // Only calls that succeed on a loaded image: a failing call would stay as its last status.
  UINT dimensions = GetFrameDimensionsCount();
  if (dimensions == 0) return;
  std::vector<GUID> ids(dimensions);
  if (GetFrameDimensionsList(ids.data(), dimensions) != Gdiplus::Ok) return;
  dimension_ = ids[0];
  frameCount_ = GetFrameCount(&dimension_);
  UINT properties = GetPropertyCount();
  std::vector<PROPID> propertyIds(properties);
  bool hasDelays = false;
  if (properties && GetPropertyIdList(properties, propertyIds.data()) == Gdiplus::Ok) {
    for (PROPID id : propertyIds) hasDelays = hasDelays || id == PropertyTagFrameDelay;
  }
  UINT size = hasDelays ? GetPropertyItemSize(PropertyTagFrameDelay) : 0;
  if (size > sizeof(Gdiplus::PropertyItem)) {
    std::vector<BYTE> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (GetPropertyItem(PropertyTagFrameDelay, size, item) == Gdiplus::Ok && item->value) {
      size_t count = item->length / sizeof(LONG);
      const LONG* values = static_cast<const LONG*>(item->value);
      for (size_t i = 0; i < count; ++i) delays_.push_back(static_cast<UINT>(values[i] < 0 ? 0 : values[i]));
    }
  }
  // Every frame has a delay, so the worker never reads past the list; and a delay of nothing
  // would have the worker spin without pause, so it counts as the usual tenth of a second.
  delays_.resize(frameCount_, 0);
  for (UINT& delay : delays_) {
    if (delay == 0) delay = kDefaultDelay;
  }
  animated_ = frameCount_ > 1;
}

UINT ImageEx::GetCurrentFrame() const {
  Hold hold(lock_);
  return current_;
}

bool ImageEx::InitAnimation(HWND owner) {
  if (!initialised_ || !animated_ || thread_) return false;
  owner_ = owner;
  run_.reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  exit_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!run_ || !exit_) return false;
  thread_ = base::Thread::Run([this] { ThreadMain(this); }).Release();
  return thread_.valid();
}

void ImageEx::Pause(bool pause) {
  paused_ = pause;
  if (!run_) return;
  if (pause) {
    ResetEvent(run_.get());
  } else {
    SetEvent(run_.get());
  }
}

void ImageEx::Destroy() {
  if (thread_) {
    // A paused worker waits for the run event: let it go so that it sees the exit event.
    SetEvent(run_.get());
    SetEvent(exit_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  run_.reset();
  exit_.reset();
  delays_.clear();
  if (stream_) {
    stream_->Release();
    stream_ = nullptr;
  }
}

unsigned __stdcall ImageEx::ThreadMain(void* self) {
  try {
    static_cast<ImageEx*>(self)->Run();
  } catch (...) {
  }
  return 0;
}

void ImageEx::Run() {
  for (;;) {
    HANDLE waits[2] = {exit_.get(), run_.get()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return;
    UINT delay;
    {
      Hold hold(lock_);
      SelectActiveFrame(&dimension_, current_);
      current_ = (current_ + 1) % frameCount_;
      delay = delays_[current_];
    }
    if (WaitForSingleObject(exit_.get(), delay * 10) == WAIT_OBJECT_0) return;
  }
}

Gdiplus::Status ImageEx::Draw(Gdiplus::Graphics& graphics, int x, int y) {
  Hold hold(lock_);
  return graphics.DrawImage(this, x, y, static_cast<INT>(GetWidth()), static_cast<INT>(GetHeight()));
}

Gdiplus::Status ImageEx::Draw(Gdiplus::Graphics& graphics, int x, int y, int width, int height) {
  Hold hold(lock_);
  return graphics.DrawImage(this, x, y, width, height);
}

// ImageEx: a GDI+ image whose frames (an animated GIF) advance on a worker thread. The worker only
// selects the active frame; the owner window repaints the image on its own schedule (Draw) and
// always shows the frame that is active then.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "base/handles.h"

class ImageEx : public Gdiplus::Image {
 public:
  explicit ImageEx(const wchar_t* path);
  // An image held in the module's resources (type, name), read through a memory stream.
  ImageEx(const wchar_t* type, const wchar_t* name);
  ~ImageEx() override;
  ImageEx(const ImageEx&) = delete;
  ImageEx& operator=(const ImageEx&) = delete;

  using Gdiplus::Image::GetFrameCount;
  bool IsAnimated() const { return animated_; }
  UINT GetFrameCount() const { return frameCount_; }
  // Frame delays in hundredths of a second, one per frame (0 reads as kDefaultDelay).
  const std::vector<UINT>& GetFrameDelays() const { return delays_; }
  // The frame index the worker selects next.
  UINT GetCurrentFrame() const;

  // Starts the worker (animated images only, once). owner is the window that shows the image.
  bool InitAnimation(HWND owner);
  // Pausing holds the worker before its next frame; resuming lets it go on.
  void Pause(bool pause);
  bool IsPaused() const { return paused_; }
  // Stops and joins the worker (also done by the destructor).
  void Destroy();

  // Draws the active frame at its own size. Drawing and frame selection never overlap (GDI+
  // refuses an image that another thread is using).
  Gdiplus::Status Draw(Gdiplus::Graphics& graphics, int x, int y);
  Gdiplus::Status Draw(Gdiplus::Graphics& graphics, int x, int y, int width, int height);

 private:
  // Frames whose delay is missing or 0 show for a tenth of a second.
  static constexpr UINT kDefaultDelay = 10;

  ImageEx(IStream* stream);
  void Initialise();
  static IStream* ResourceStream(const wchar_t* type, const wchar_t* name);
  void TestForAnimation();
  static unsigned __stdcall ThreadMain(void* self);
  void Run();

  UINT frameCount_ = 0;
  UINT current_ = 0;
  std::vector<UINT> delays_;
  GUID dimension_ = {};
  base::UniqueHandle thread_;
  base::UniqueHandle run_;   // manual reset, set: the worker may go on
  base::UniqueHandle exit_;  // manual reset, set: the worker ends
  bool paused_ = false;
  bool initialised_ = false;
  bool animated_ = false;
  HWND owner_ = nullptr;
  IStream* stream_ = nullptr;
  mutable CRITICAL_SECTION lock_;
};

// ImageEx: loading, the frame delays, the worker's timing, pausing, and stopping.
#include "ui/skin/image_ex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/skin/skin_files.h"
#include "tests/support/scratch.h"
#include "ui/gdi.h"

namespace {

// The colour the image shows now (its frames are red, green and blue).
COLORREF Shown(ImageEx& image) {
  ui::WindowDC screen(nullptr);
  ui::MemoryDC dc(CreateCompatibleDC(screen.get()));
  ui::Bitmap target(CreateCompatibleBitmap(screen.get(), 8, 8));
  ui::Select select(dc.get(), target.get());
  Gdiplus::Graphics g(dc.get());
  image.Draw(g, 0, 0);
  g.Flush();
  return GetPixel(dc.get(), 4, 4);
}

int FrameOf(COLORREF c) {
  if (c == RGB(255, 0, 0)) return 0;
  if (c == RGB(0, 255, 0)) return 1;
  if (c == RGB(0, 0, 255)) return 2;
  return -1;
}

class AnimatedImage : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(skin_test::WriteResource(L"ANIM_GIF", path_)); }
  test::ScratchFolder folder_;
  std::wstring path_ = folder_ / L"anim.gif";
};

TEST_F(AnimatedImage, ReadsItsFramesAndDelays) {
  ImageEx image(path_.c_str());
  ASSERT_EQ(Gdiplus::Ok, image.GetLastStatus());
  EXPECT_TRUE(image.IsAnimated());
  EXPECT_EQ(3u, image.GetFrameCount());
  EXPECT_EQ((std::vector<UINT>{10, 20, 30}), image.GetFrameDelays());
  EXPECT_EQ(0, FrameOf(Shown(image)));
}

TEST_F(AnimatedImage, ShowsEachFrameForTheDelayOfTheNextOne) {
  // Frame 0 shows for frame 1's delay (200 ms), frame 1 for frame 2's (300 ms), frame 2 for frame
  // 0's (100 ms).
  ImageEx image(path_.c_str());
  ASSERT_TRUE(image.InitAnimation(nullptr));
  EXPECT_FALSE(image.InitAnimation(nullptr));  // one worker
  struct Change {
    int frame;
    DWORD at;
  };
  std::vector<Change> changes;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 1400) {
    int frame = FrameOf(Shown(image));
    if (frame >= 0 && (changes.empty() || changes.back().frame != frame)) changes.push_back({frame, GetTickCount()});
    Sleep(2);
  }
  image.Destroy();
  // Skip the first, partly seen, showing; then the frames come round in order, each shown at least
  // for its delay. This thread may see a change late on a busy machine, which shortens the showing
  // it sees, so each frame's longest showing is the one held to that; nothing bounds it above.
  ASSERT_GE(changes.size(), 5u);
  const DWORD expected[] = {200, 300, 100};
  DWORD longest[3] = {};
  for (size_t i = 1; i + 1 < changes.size(); ++i) {
    EXPECT_EQ((changes[i - 1].frame + 1) % 3, changes[i].frame);
    longest[changes[i].frame] = std::max<DWORD>(longest[changes[i].frame], changes[i + 1].at - changes[i].at);
  }
  for (int frame = 0; frame < 3; ++frame) EXPECT_GE(longest[frame] + 30, expected[frame]) << "frame " << frame;
}

TEST_F(AnimatedImage, PauseHoldsTheFrameAndResumeGoesOn) {
  ImageEx image(path_.c_str());
  ASSERT_TRUE(image.InitAnimation(nullptr));
  Sleep(50);
  image.Pause(true);
  Sleep(350);  // the worker finishes the frame it was on
  int held = FrameOf(Shown(image));
  UINT next = image.GetCurrentFrame();
  Sleep(700);
  EXPECT_EQ(held, FrameOf(Shown(image)));
  EXPECT_EQ(next, image.GetCurrentFrame());
  image.Pause(false);
  Sleep(700);
  EXPECT_NE(next, image.GetCurrentFrame());
}

TEST_F(AnimatedImage, StopsEvenWhenPaused) {
  auto image = std::make_unique<ImageEx>(path_.c_str());
  ASSERT_TRUE(image->InitAnimation(nullptr));
  image->Pause(true);
  Sleep(50);
  image.reset();  // a paused worker that waits only for "resume" would hang here
}

TEST(ImageEx, LoadsFromTheModulesResources) {
  ImageEx image(RT_RCDATA, L"ANIM_GIF");
  ASSERT_EQ(Gdiplus::Ok, image.GetLastStatus());
  EXPECT_EQ(3u, image.GetFrameCount());
  EXPECT_TRUE(image.IsAnimated());
  ImageEx missing(RT_RCDATA, L"NO_SUCH_RESOURCE");
  EXPECT_NE(Gdiplus::Ok, missing.GetLastStatus());
  EXPECT_FALSE(missing.InitAnimation(nullptr));
}

TEST(ImageEx, FramesWithoutADelayShowForATenthOfASecond) {
  // A delay of 0 would have the worker turn frames without pause.
  ImageEx image(RT_RCDATA, L"ZERO_GIF");
  ASSERT_EQ(Gdiplus::Ok, image.GetLastStatus());
  EXPECT_EQ((std::vector<UINT>{10, 10}), image.GetFrameDelays());
}

TEST(ImageEx, AStillOrMissingImageHasNoWorker) {
  test::ScratchFolder folder;
  ASSERT_TRUE(skin_test::WriteResource(L"PHOTO_JPG", folder / L"still.jpg"));
  ImageEx still((folder / L"still.jpg").c_str());
  EXPECT_EQ(Gdiplus::Ok, still.GetLastStatus());
  EXPECT_FALSE(still.IsAnimated());
  EXPECT_FALSE(still.InitAnimation(nullptr));
  ImageEx missing((folder / L"none.gif").c_str());
  EXPECT_NE(Gdiplus::Ok, missing.GetLastStatus());
  EXPECT_FALSE(missing.IsAnimated());
  EXPECT_FALSE(missing.InitAnimation(nullptr));
  missing.Pause(true);  // nothing to pause, nothing breaks
}

}  // namespace

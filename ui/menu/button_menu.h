// CButtonMenu: the accordion of image buttons down the left of the main window. One group is
// expanded at a time, its items listed under its header and the later headers pushed down below
// them. A click sends the parent base + 100 x (group + 1), plus item + 1 for an item. The parent
// can lock the menu while long work runs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/gdiplus.h"
#include "ui/window.h"

class CButtonMenu : public ui::Window {
 public:
  static constexpr COLORREF kAccent = RGB(0, 141, 66);

  CButtonMenu() = default;
  ~CButtonMenu() override;

  // Set-up, in this order: Subclass (the control), SetSize, AddGroup for each group,
  // AddGroupImages for each group, AddItemImages for each item, LoadImages, SetMetrics,
  // SetBaseMessage.
  void SetSize(int width, int height);
  void AddGroup(int index, int itemCount);
  void AddGroupImages(const wchar_t* normal, const wchar_t* down, const wchar_t* over);
  void AddItemImages(int group, const wchar_t* normal, const wchar_t* down, const wchar_t* over);
  void LoadImages();
  // Loads at most count of the images the menu shows at rest not loaded yet, in the same order;
  // true once all are. The main window spreads the loading over the splash's pauses this way;
  // LoadImages finishes it. The hovered and pressed looks are loaded when first drawn.
  bool LoadSomeImages(int count);
  void SetMetrics(int headerHeight, int itemHeight, int imageWidth);
  void SetBaseMessage(UINT base) { base_ = base; }
  // Posts base + 100 x n to the parent.
  void PostGroupCommand(int n);

  // While locked, the mouse changes nothing and no command is sent.
  void SetLocked(bool locked) { locked_ = locked; }
  bool IsLocked() const { return locked_; }

  // State, for the parent and for tests.
  int CurrentGroup() const { return current_; }
  int SelectedItem() const { return selected_; }
  int HoveredHeader() const { return hoverHeader_; }
  int HoveredItem() const { return hoverItem_; }
  bool HeaderPressed() const { return headerPressed_; }
  bool ItemPressed() const { return itemPressed_; }
  int RememberedGroup() const { return rememberedGroup_; }
  int RememberedItem() const { return rememberedItem_; }
  int GroupCount() const { return static_cast<int>(groups_.size()); }
  int ItemCount(int group) const;

  // Geometry (y from the menu's top). A point on a boundary belongs to neither button.
  int HeaderTop(int group) const;
  int ItemTop(int item) const;
  bool InHeader(int group, int y) const;
  bool InItem(int item, int y) const;

  // Renders the menu as it looks now into dc at (0, 0).
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Group {
    int index;
    int items;
  };
  struct Images {
    std::wstring normal, down, over;
    ui::GpBitmap normalImage, downImage, overImage;
    int group = -1;
  };

  void OnButtonDown(int y);
  void OnButtonUp();
  void OnMouseMove(int y);
  void OnMouseLeave();
  void Repaint();
  void SetCursorFor(int y);
  void Send(UINT message);
  // The entries of the item lists that belong to the current group, in order.
  std::vector<Images*> CurrentItems();
  void DrawImage(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, int x, int y, int height);
  enum State { kNormal, kDown, kOver };
  // The image of a button in a state, loaded on first use.
  static Gdiplus::Bitmap* Image(Images& images, State state);

  std::vector<Group> groups_;
  std::vector<Images> headers_;
  std::vector<Images> items_;
  size_t imagesLoaded_ = 0;  // of the files in load order
  int headerHeight_ = 26, itemHeight_ = 26, imageWidth_ = 201;
  int width_ = 201, height_ = 432;
  UINT base_ = 60000;

  int current_ = 0;
  int hoverHeader_ = -1;
  int hoverItem_ = -1;
  int selected_ = -1;
  int rememberedGroup_ = -1, rememberedItem_ = -1;
  bool headerPressed_ = false;
  bool itemPressed_ = false;
  bool tracking_ = false;
  bool locked_ = false;
};

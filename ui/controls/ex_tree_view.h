// A tree of the folders, and optionally the files, below one root folder, with the system's small
// shell icons. A folder's children are loaded when it is first expanded; until then its expand
// button comes from a look one level down (does it hold a folder, or a file that would be shown?).
// Folders come first, then the files whose names pass the extension filter (case-sensitive, so
// ".url" does not show "x.URL"), each group in the order the file system lists them.
//
// Item texts are the names; the root item's text is the root folder, and an item's full path is
// the chain of texts up to the root. The parent must be a framework window, which reflects
// TVN_ITEMEXPANDING back to the tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/window.h"

namespace ui {

class CExTreeView : public Window {
 public:
  // Takes over a tree-view control of a dialog template.
  bool Bind(HWND tree) { return Subclass(tree); }

  // Gives the tree the system image list of small icons; false when there is none.
  bool SetSystemImageList();
  void SetRoot(const std::wstring& path) { root_ = path; }
  // The extension with its dot (".url"); empty shows every file.
  void SetFilter(const std::wstring& extension) { filter_ = extension; }
  // Shows or hides files (shown at first); reloads when the tree exists.
  void SetShowFiles(bool show);

  // Empties the tree and loads the root item with its first level.
  void Reload();

  std::wstring GetItemPath(HTREEITEM item) const;
  // "" when nothing is selected.
  std::wstring GetSelectedPath() const;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Loads the children of item from folder; returns how many were added.
  int Fill(HTREEITEM item, const std::wstring& folder);
  HTREEITEM Insert(HTREEITEM parent, const std::wstring& text, const std::wstring& path, bool folder,
                   bool hasChildren);
  // Would the folder show anything when expanded?
  bool HasVisibleChildren(const std::wstring& folder) const;
  bool Passes(const std::wstring& fileName) const;

  std::wstring root_;
  std::wstring filter_;
  bool showFiles_ = true;
};

}  // namespace ui

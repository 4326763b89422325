// The startup manager's detail pane: it takes over the page's static 1059 and draws the selected
// entry (its icon, name and what it starts) or, with nothing selected, the instructions; and three
// links, "Search in Google", "Open in Explorer" and "Properties", followed on a button release.
//
// The icon, "Open in Explorer" and "Properties" use the program path the page resolved from the
// command line (a command line with arguments names no file); a link whose text is empty does
// nothing.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "pages/common/page_look.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/window.h"

class CBootlistShow : public ui::Window {
 public:
  enum class Link { kNone, kSearch, kOpen, kProperties };
  // One shell execution: a verb on a file with parameters; a property sheet is shown through the
  // item's context menu, without error dialogs and without an owner window.
  struct ShellRequest {
    std::wstring verb, file, parameters;
    bool propertySheet = false;
  };

  static constexpr RECT kSearchLink = {455, 1, 538, 17};
  static constexpr RECT kOpenLink = {455, 17, 538, 33};
  static constexpr RECT kPropertiesLink = {485, 33, 538, 49};
  static constexpr COLORREF kText = RGB(0, 128, 0);
  static constexpr wchar_t kSearchAddress[] = L"http://www.google.com/search?q=";

  CBootlistShow();
  // Takes over the static control and loads the default icon image.
  bool Bind(HWND staticControl);

  // Shows an entry: its name, the text after "Location:", and its program file ("" for none).
  void Show(const std::wstring& item, const std::wstring& location, const std::wstring& program);
  // Back to the instructions.
  void Clear();

  bool selected() const { return selected_; }
  const std::wstring& item() const { return item_; }
  const std::wstring& location() const { return location_; }
  const std::wstring& program() const { return program_; }
  bool HasFileIcon() const { return icon_.valid(); }

  Link LinkAt(POINT client) const;
  // What following a link asks of the shell; false when it needs a text that is empty.
  bool RequestFor(Link link, ShellRequest* request) const;
  // Who carries out the requests (the shell unless replaced).
  void SetLauncher(std::function<void(const ShellRequest&)> launcher) { launcher_ = std::move(launcher); }

  // The item text as it goes into a query address: UTF-8, every byte but letters, digits and
  // "-_.~" percent-encoded.
  static std::wstring UrlEncoded(const std::wstring& text);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
  static void Launch(const ShellRequest& request);

  bool selected_ = false;
  std::wstring item_, location_, program_;
  ui::Icon icon_;
  ui::GpBitmap defaultIcon_;
  cleaning_pages::PageFonts fonts_;
  std::function<void(const ShellRequest&)> launcher_;
};

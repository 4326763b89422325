#include "pages/cleaning/trace_categories.h"

#include <cwchar>

namespace cleaning_pages {

const wchar_t* const kTraceGroupNames[kTraceGroups] = {L"Windows",       L"Internet Explorer", L"Mozilla Firefox",
                                                       L"Plug-ins",      L"Google Chrome",     L"Microsoft Edge",
                                                       L"Other Browsers"};
const int kTraceGroupOrder[kTraceGroups] = {0, 1, 2, 4, 5, 6, 3};

const TraceCategoryInfo kTraceCategoryTable[kTraceCategories] = {
    {0, L"Windows Recent Documents"},
    {0, L"Windows Start Menu Run"},
    {0, L"Windows Common Dialog - File/Folder Lists"},
    {0, L"Windows Temporary Files"},
    {0, L"Windows Mapped Network Drives"},
    {0, L"Windows Logo History"},
    {0, L"Windows Search Computer History"},
    {0, L"Windows Search Files History"},
    {0, L"Windows Start Menu Click History"},
    {0, L"Windows Start Menu Order History"},
    {0, L"Windows Auto Dial-up History"},
    {0, L"Windows Telnet History"},
    {1, L"Internet Explorer - URL History"},
    {1, L"Internet Explorer - History"},
    {1, L"Internet Explorer - Cookie"},
    {1, L"Internet Explorer - Auto Complete Data"},
    {1, L"Internet Explorer - Auto Complete Passwords", true},
    {1, L"Internet Explorer - Cache"},
    {2, L"Mozilla Firefox - History"},
    {2, L"Mozilla Firefox - Cookie"},
    {2, L"Mozilla Firefox - Internet Cache"},
    {2, L"Mozilla Firefox - Save Form Information"},
    {2, L"Mozilla Firefox - Save Passwords", true},
    {2, L"Mozilla Firefox - Download Manager History"},
    {2, L"Mozilla Firefox - Search History"},
    {3, L"Windows Media Player"},
    {3, L"Real Player"},
    {3, L"Quicktime Player"},
    {3, L"Media Player Classic"},
    {3, L"Macromedia Flash Player"},
    {3, L"Microsoft Management Console"},
    {3, L"Microsoft Paint"},
    {3, L"WinRAR"},
    {0, L"Windows Explorer Search History"},
    {0, L"Windows Explorer Typed Paths"},
    {0, L"Windows Recent Documents List"},
    {0, L"Windows Common Dialog - Folder Lists"},
    {0, L"Windows Thumbnail Cache"},
    {4, L"Google Chrome - History"},
    {4, L"Google Chrome - Cookies"},
    {4, L"Google Chrome - Internet Cache"},
    {4, L"Google Chrome - Sessions"},
    {4, L"Google Chrome - Passwords", true},
    {5, L"Microsoft Edge - History"},
    {5, L"Microsoft Edge - Cookies"},
    {5, L"Microsoft Edge - Internet Cache"},
    {5, L"Microsoft Edge - Sessions"},
    {5, L"Microsoft Edge - Passwords", true},
    {6, L"Other Browsers - History"},
    {6, L"Other Browsers - Cookies"},
    {6, L"Other Browsers - Internet Cache"},
    {6, L"Other Browsers - Sessions"},
    {6, L"Other Browsers - Passwords", true},
};

const wchar_t* BrowserOfLocation(std::wstring_view location) {
  struct Folder {
    const wchar_t* path;  // as it stands in a location, between backslashes
    const wchar_t* browser;
  };
  static const Folder kFolders[] = {
      {L"\\Google\\Chrome\\User Data\\", L"Google Chrome"},
      {L"\\Microsoft\\Edge\\User Data\\", L"Microsoft Edge"},
      {L"\\BraveSoftware\\Brave-Browser\\User Data\\", L"Brave"},
      {L"\\Vivaldi\\User Data\\", L"Vivaldi"},
      {L"\\Opera Software\\Opera Stable\\", L"Opera"},
      {L"\\Chromium\\User Data\\", L"Chromium"},
  };
  for (const Folder& folder : kFolders) {
    std::wstring_view path(folder.path);
    for (size_t at = 0; at + path.size() <= location.size(); ++at) {
      if (_wcsnicmp(location.data() + at, path.data(), path.size()) == 0) return folder.browser;
    }
  }
  return nullptr;
}

}  // namespace cleaning_pages

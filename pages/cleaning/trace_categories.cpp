#include "pages/cleaning/trace_categories.h"

namespace cleaning_pages {

const wchar_t* const kTraceGroupNames[kTraceGroups] = {L"Windows", L"Internet Explorer", L"Mozilla Firefox",
                                                       L"Plug-ins"};

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
    {1, L"Internet Explorer - Auto Complete Passwords"},
    {1, L"Internet Explorer - Cache"},
    {2, L"Mozilla Firefox - History"},
    {2, L"Mozilla Firefox - Cookie"},
    {2, L"Mozilla Firefox - Internet Cache"},
    {2, L"Mozilla Firefox - Save Form Information"},
    {2, L"Mozilla Firefox - Save Passwords"},
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
};

}  // namespace cleaning_pages

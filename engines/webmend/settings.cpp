#include "settings.h"

#include <cwchar>

namespace webmend {
namespace {

const wchar_t kMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kSearch[] = L"Software\\Microsoft\\Internet Explorer\\Search";
const wchar_t kBrowser[] = L"Software\\Microsoft\\Internet Explorer";
const wchar_t kAbout[] = L"Software\\Microsoft\\Internet Explorer\\AboutURLs";

// The addresses Windows itself ships for these settings, on the browser maker's own hosts.
#define PORTAL L"http://www.msn.com"
#define MAIN_SITE L"http://www.microsoft.com"
#define HOME_SITE L"http://home.microsoft.com"
#define SEARCH_ASSISTANT L"http://ie.search.msn.com"
#define FORWARD L"http://go.microsoft.com"

const wchar_t kSearchPage5[] = MAIN_SITE L"/isapi/redir.dll?prd=ie&ar=iesearch";
const wchar_t kDefaultPage5[] = MAIN_SITE L"/isapi/redir.dll?prd=ie&pver=6&ar=msnhome";
const wchar_t kLocalPage5[] = L"%SystemRoot%\\system32\\blank.htm";
const wchar_t kLocalPage6[] = L"C:\\Windows\\system32\\blank.htm";
// "seach" is what these values hold on the systems that ship them.
const wchar_t kSearchBar5[] = HOME_SITE L"/seach/lobby/search.asp";
const wchar_t kDefaultSearch5[] = HOME_SITE L"/seach/search.asp";
const wchar_t kSearchUrl5[] = HOME_SITE L"/access/autosearch.asp?p=%s";
const wchar_t kForwardSearch[] = FORWARD L"/fwlink/?LinkId=54896";
const wchar_t kForwardHome[] = FORWARD L"/fwlink/?LinkId=69157";
const wchar_t kNavCancel5[] = L"res://shdoclc.dll/navcancl.htm";
const wchar_t kNavCancel6[] = L"res://ieframe.dll/navcancl.htm";

const Setting kSettings[] = {
    {L"Start Page", HKEY_CURRENT_USER, kMain, L"Start Page", PORTAL, L""},
    {L"Search Page", HKEY_CURRENT_USER, kMain, L"Search Page", kSearchPage5, kForwardSearch},
    {L"Default Page URL", HKEY_CURRENT_USER, kMain, L"Default_Page_URL", kDefaultPage5, L""},
    {L"Local Page", HKEY_CURRENT_USER, kMain, L"Local Page", kLocalPage5, kLocalPage6},
    {L"Search Bar", HKEY_CURRENT_USER, kMain, L"Search Bar", kSearchBar5, L"Preserve"},
    {L"Default Search URL", HKEY_CURRENT_USER, kMain, L"Default_Search_URL", kDefaultSearch5, L""},
    {L"Start Page (all users)", HKEY_LOCAL_MACHINE, kMain, L"Start Page", PORTAL, kForwardHome},
    {L"Search Page (all users)", HKEY_LOCAL_MACHINE, kMain, L"Search Page", kSearchPage5, kForwardSearch},
    {L"Default Page URL (all users)", HKEY_LOCAL_MACHINE, kMain, L"Default_Page_URL", kDefaultPage5, kForwardHome},
    {L"Local Page (all users)", HKEY_LOCAL_MACHINE, kMain, L"Local Page", kLocalPage5, kLocalPage6},
    {L"Search Bar (all users)", HKEY_LOCAL_MACHINE, kMain, L"Search Bar", kSearchBar5, L""},
    {L"Default Search URL (all users)", HKEY_LOCAL_MACHINE, kMain, L"Default_Search_URL", kDefaultSearch5,
     kForwardSearch},
    {L"Customize Search (all users)", HKEY_LOCAL_MACHINE, kSearch, L"CustomizeSearch",
     SEARCH_ASSISTANT L"/{SUB_RFC1766}/srchasst/srchcust.htm", L""},
    {L"Search Assistant (all users)", HKEY_LOCAL_MACHINE, kSearch, L"SearchAssistant",
     SEARCH_ASSISTANT L"/{SUB_RFC1766}/srchasst/srchasst.htm", L""},
    {L"Search URL", HKEY_CURRENT_USER, kBrowser, L"SearchUrl", kSearchUrl5, L""},
    {L"Search URL (all users)", HKEY_LOCAL_MACHINE, kBrowser, L"SearchUrl", kSearchUrl5, L""},
    {L"Blank Page", HKEY_LOCAL_MACHINE, kAbout, L"blank", L"res://mshtml.dll/blank.htm",
     L"res://mshtml.dll/blank.htm"},
    {L"Desktop Navigation Failure", HKEY_LOCAL_MACHINE, kAbout, L"DesktopItemNavigationFailure", kNavCancel5,
     kNavCancel6},
    {L"Navigation Canceled", HKEY_LOCAL_MACHINE, kAbout, L"NavigationCanceled", kNavCancel5, kNavCancel6},
    {L"Navigation Failure", HKEY_LOCAL_MACHINE, kAbout, L"NavigationFailure", kNavCancel5, kNavCancel6},
    {L"Offline Information", HKEY_LOCAL_MACHINE, kAbout, L"OfflineInformation", L"res://shdoclc.dll/offcancl.htm",
     L"res://ieframe.dll/offcancl.htm"},
    {L"Post Not Cached", HKEY_LOCAL_MACHINE, kAbout, L"PostNotCached", L"res://mshtml.dll/repost.htm",
     L"res://ieframe.dll/repost.htm"},
};

#undef PORTAL
#undef MAIN_SITE
#undef HOME_SITE
#undef SEARCH_ASSISTANT
#undef FORWARD

}  // namespace

const Setting* FindSetting(const wchar_t* name) {
  if (!name) return nullptr;
  for (const Setting& setting : kSettings)
    if (std::wcscmp(setting.name, name) == 0) return &setting;
  return nullptr;
}

}  // namespace webmend

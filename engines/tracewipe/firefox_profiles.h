// Where Firefox keeps a user's profiles: every profile that "profiles.ini" lists, each with its
// roaming folder (cookies, form data, passwords) and its local folder (the cache).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tracewipe {

struct FirefoxProfile {
  std::wstring roaming;  // full path, no trailing backslash
  std::wstring local;
  std::wstring relative;  // the path below the Firefox folders of a relative profile; empty when absolute
};

// The profiles of a "profiles.ini" (its bytes, UTF-8), whose relative paths lie below roamingRoot
// and localRoot (the "Mozilla\Firefox" folders of the roaming and local application data). A
// profile at an absolute path keeps its cache in that folder too. Entries whose path could lead
// out of the Firefox folders (".." or "." steps, a relative path that is rooted) or that is no
// plain local or network path are dropped, and so is a second entry for the same folder.
std::vector<FirefoxProfile> ParseProfilesIni(std::string_view bytes, const std::wstring& roamingRoot,
                                             const std::wstring& localRoot);

// The current user's profiles, read from the application data folders; none when Firefox has no
// "profiles.ini" there.
std::vector<FirefoxProfile> FirefoxProfiles(const std::wstring& roamingData, const std::wstring& localData);

}  // namespace tracewipe

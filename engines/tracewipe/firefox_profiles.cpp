#include "engines/tracewipe/firefox_profiles.h"

#include <windows.h>

#include <cwchar>

#include "base/handles.h"

namespace tracewipe {
namespace {

const DWORD kLargestIni = 1 << 20;  // a list of profiles is a few hundred bytes; more is no such list

struct Entry {
  std::wstring path;
  int isRelative = -1;  // -1 when the entry does not say
};

std::wstring Decode(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.empty() || bytes.size() > kLargestIni) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  // Firefox writes UTF-8; a list that is not valid UTF-8 came from something older, in the
  // system's code page.
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int chars = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (chars <= 0) {
    codePage = CP_ACP;
    flags = 0;
    chars = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (chars <= 0) return std::wstring();
  }
  std::wstring text(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), length, &text[0], chars);
  return text;
}

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\r')) s.remove_suffix(1);
  return s;
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The length of the root of an absolute path: "X:\" or "\\server\"; 0 for any other path.
size_t RootLength(const std::wstring& path) {
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') return 3;
  if (path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\') return 2;
  return 0;
}

// Every step of the path after its root is a plain folder name: not empty, not "." or "..", and
// free of the characters no file name may hold.
bool PlainSteps(std::wstring_view steps) {
  if (steps.empty()) return false;
  size_t start = 0;
  while (start <= steps.size()) {
    size_t end = steps.find(L'\\', start);
    if (end == std::wstring_view::npos) end = steps.size();
    std::wstring_view step = steps.substr(start, end - start);
    if (step.empty() || step == L"." || step == L"..") return false;
    for (wchar_t c : step) {
      if (c < 32 || wcschr(L":*?\"<>|", c)) return false;
    }
    start = end + 1;
  }
  return true;
}

bool Resolve(const Entry& entry, const std::wstring& roamingRoot, const std::wstring& localRoot,
             FirefoxProfile* profile) {
  std::wstring path = entry.path;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  while (path.size() > 1 && path.back() == L'\\') path.pop_back();
  size_t root = RootLength(path);
  bool relative = entry.isRelative == 1 || (entry.isRelative == -1 && root == 0);
  if (relative) {
    if (root != 0 || !PlainSteps(path)) return false;
    profile->roaming = roamingRoot + L"\\" + path;
    profile->local = localRoot + L"\\" + path;
    profile->relative = path;
    return true;
  }
  if (root == 0 || !PlainSteps(std::wstring_view(path).substr(root))) return false;
  profile->roaming = profile->local = path;
  profile->relative.clear();
  return true;
}

}  // namespace

std::vector<FirefoxProfile> ParseProfilesIni(std::string_view bytes, const std::wstring& roamingRoot,
                                             const std::wstring& localRoot) {
  std::wstring text = Decode(bytes);
  std::vector<Entry> entries;
  bool inProfile = false;
  std::wstring_view rest(text);
  while (!rest.empty()) {
    size_t end = rest.find(L'\n');
    std::wstring_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end + 1);
    if (line.empty() || line.front() == L';' || line.front() == L'#') continue;
    if (line.front() == L'[') {
      // Firefox names its profile sections "Profile0", "Profile1", ...
      inProfile = line.substr(0, 8) == L"[Profile";
      if (inProfile) entries.emplace_back();
      continue;
    }
    size_t equals = line.find(L'=');
    if (!inProfile || equals == std::wstring_view::npos) continue;
    std::wstring_view key = Trim(line.substr(0, equals)), value = Trim(line.substr(equals + 1));
    if (key == L"Path") entries.back().path.assign(value);
    if (key == L"IsRelative") entries.back().isRelative = value == L"1" ? 1 : value == L"0" ? 0 : -1;
  }

  std::vector<FirefoxProfile> profiles;
  for (const Entry& entry : entries) {
    FirefoxProfile profile;
    if (!Resolve(entry, roamingRoot, localRoot, &profile)) continue;
    bool listed = false;
    for (const FirefoxProfile& seen : profiles)
      listed = listed || _wcsicmp(seen.roaming.c_str(), profile.roaming.c_str()) == 0;
    if (!listed) profiles.push_back(std::move(profile));
  }
  return profiles;
}

std::vector<FirefoxProfile> FirefoxProfiles(const std::wstring& roamingData, const std::wstring& localData) {
  const std::wstring roamingRoot = roamingData + L"\\Mozilla\\Firefox";
  base::UniqueFile file(CreateFileW((roamingRoot + L"\\profiles.ini").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestIni) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return ParseProfilesIni(bytes, roamingRoot, localData + L"\\Mozilla\\Firefox");
}

}  // namespace tracewipe

#include "suite/erasemill/target.h"

#include <windows.h>

#include <vector>

#include "base/text.h"

namespace erasemill {
namespace {

constexpr size_t kLongestPath = 32767;

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsDrivePath(const std::wstring& p) { return p.size() >= 3 && IsLetter(p[0]) && p[1] == L':' && IsSlash(p[2]); }

// "\\server\share\..." with a real server name: "\\.\" and "\\?\" are the device namespaces.
bool IsSharePath(const std::wstring& p) {
  if (p.size() < 5 || !IsSlash(p[0]) || !IsSlash(p[1])) return false;
  if ((p[2] == L'.' || p[2] == L'?') && IsSlash(p[3])) return false;
  size_t server = p.find_first_of(L"\\/", 2);
  if (server == std::wstring::npos || server == 2) return false;
  size_t share = p.find_first_of(L"\\/", server + 1);
  return share != std::wstring::npos && share > server + 1;
}

std::wstring FullPath(const std::wstring& path) {
  std::vector<wchar_t> buffer(path.size() + MAX_PATH + 1);
  DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n == 0 || n >= buffer.size()) return std::wstring();
  return std::wstring(buffer.data(), n);
}

}  // namespace

bool ResolveTarget(const wchar_t* path, Target* target) {
  if (!path || !target) return false;
  size_t length = base::LengthBounded(path, kLongestPath + 1);
  if (length == 0 || length > kLongestPath) return false;
  std::wstring given(path, length);
  if (!IsDrivePath(given) && !IsSharePath(given)) return false;

  // Normalised as Windows itself would open the path: "." and "..", slashes, trailing dots. A
  // reserved device name anywhere turns the path into "\\.\NAME", which the form check refuses.
  std::wstring full = FullPath(given);
  bool drive = IsDrivePath(full);
  if (full.empty() || (!drive && !IsSharePath(full))) return false;
  size_t slash = full.find_last_of(L'\\');
  std::wstring name = full.substr(slash + 1);
  if (name.empty() || name == L"." || name == L"..") return false;
  if (full.find_first_of(L"*?\"<>|", 0) != std::wstring::npos) return false;
  if (full.find(L':', 2) != std::wstring::npos) return false;  // a stream, not a file
  if (!drive && full.find(L'\\', 2) == slash) return false;    // "\\server\share" itself

  target->full = full;
  target->wide = drive ? L"\\\\?\\" + full : L"\\\\?\\UNC" + full.substr(1);
  target->nameAt = target->wide.size() - name.size();
  return true;
}

}  // namespace erasemill

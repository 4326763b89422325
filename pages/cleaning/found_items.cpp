#include "pages/cleaning/found_items.h"

#include <windows.h>

#include <cwchar>

#include "contracts/buffers.h"
#include "contracts/tools.h"

namespace cleaning_pages {
namespace {

constexpr std::wstring_view kRegistryRoot = L"HKEY_CURRENT_USER";

bool ParseSize(std::wstring_view digits, uint64_t* size) {
  if (digits.empty() || digits.size() > 20) return false;
  uint64_t value = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return false;
    uint64_t digit = static_cast<uint64_t>(c - L'0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  *size = value;
  return true;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The folder of a file's full path, when the path really ends in a separator and the name.
bool FolderOf(std::wstring_view path, std::wstring_view name, std::wstring_view* folder) {
  if (name.empty() || path.size() <= name.size()) return false;
  size_t cut = path.size() - name.size();
  if (path.substr(cut) != name || !IsSeparator(path[cut - 1])) return false;
  *folder = path.substr(0, cut);
  return true;
}

}  // namespace

bool ParseItemReport(std::wstring_view text, FoundItem* item) {
  size_t last = text.rfind(L'|');
  if (last == std::wstring_view::npos) return false;
  uint64_t size = 0;
  if (!ParseSize(text.substr(last + 1), &size)) return false;
  std::wstring_view rest = text.substr(0, last);
  for (size_t bar = rest.find(L'|'); bar != std::wstring_view::npos; bar = rest.find(L'|', bar + 1)) {
    std::wstring_view name = rest.substr(0, bar);
    std::wstring_view middle = rest.substr(bar + 1);
    std::wstring_view location;
    if (middle.substr(0, kRegistryRoot.size()) == kRegistryRoot) {
      location = middle;
    } else if (!FolderOf(middle, name, &location)) {
      continue;
    }
    item->name.assign(name);
    item->location.assign(location);
    item->size = size;
    return true;
  }
  return false;
}

bool IsRegistryItem(const FoundItem& item) {
  return std::wstring_view(item.location).substr(0, kRegistryRoot.size()) == kRegistryRoot;
}

base::Exclusion ItemExclusion(const FoundItem& item) {
  base::Exclusion exclusion;
  if (IsRegistryItem(item)) {
    exclusion.kind = base::ExclusionKind::kRegistry;
    exclusion.identity = base::RegistryIdentity(0, item.location, item.name);
  } else {
    exclusion.kind = base::ExclusionKind::kFile;
    exclusion.identity = item.location + item.name;
  }
  return exclusion;
}

bool IsExcluded(const base::ExclusionSet& set, const FoundItem& item) {
  if (set.empty()) return false;
  if (IsRegistryItem(item)) return set.ExcludesRegistry(0, item.location, item.name);
  return set.ExcludesPath(item.location + item.name);
}

std::wstring SizeText(uint64_t bytes) {
  wchar_t text[contracts::kValueChars] = {};
  MakeFileSize(static_cast<DWORD>(bytes & 0xFFFFFFFFu), static_cast<DWORD>(bytes >> 32), text);
  text[contracts::kValueChars - 1] = L'\0';
  return text;
}

std::wstring DriveSpaceText(uint64_t bytes) {
  const uint64_t kGiB = uint64_t(1) << 30;
  double value = static_cast<double>(bytes) / 1024.0 / 1024.0;
  const wchar_t* unit = L" MB";
  if (bytes >= kGiB) {
    value /= 1024.0;
    unit = L" GB";
  }
  wchar_t text[64];
  swprintf(text, 64, L"%.1f%ls", value, unit);
  return text;
}

}  // namespace cleaning_pages

#include "engines/tracewipe/registry_traces.h"

#include <cstdint>
#include <cwchar>
#include <vector>

#include "base/handles.h"
#include "base/registry.h"
#include "contracts/buffers.h"

namespace tracewipe {
namespace {

const wchar_t kCurrentUserPrefix[] = L"HKEY_CURRENT_USER\\";
const DWORD kNameChars = contracts::kValueChars;  // longer value and key names are skipped
// How far below its key a history that keeps one sub-key per entry or per folder is followed. It
// also bounds a walk that a registry link would otherwise send round in a circle.
const int kDeep = 16;

using NameFilter = bool (*)(std::wstring_view name);

enum class Progress { Text, DecodedName };

// One key whose values are traces.
struct Source {
  const wchar_t* key;               // below HKEY_CURRENT_USER, no trailing backslash
  int depth;                        // 0: the key's own values; n: also those of keys up to n levels below
  NameFilter accept = nullptr;      // which values are traces; null: every one
  const wchar_t* onlyIn = nullptr;  // when set, only the values of keys of this name are traces
  Progress progress = Progress::Text;
};

bool SameText(std::wstring_view a, const wchar_t* b) {
  return a.size() == wcslen(b) && _wcsnicmp(a.data(), b, a.size()) == 0;
}

bool IsOrder(std::wstring_view name) { return SameText(name, L"Order"); }

// "Machine1" ... and "LastMachine": the hosts the telnet client was pointed at. Its other values
// are settings.
bool IsMachine(std::wstring_view name) {
  const std::wstring_view kMachine = L"machine";
  for (size_t at = 0; at + kMachine.size() <= name.size(); ++at) {
    if (_wcsnicmp(name.data() + at, kMachine.data(), kMachine.size()) == 0) return true;
  }
  return false;
}

std::vector<Source> SourcesOf(RegistryTrace trace) {
  switch (trace) {
    case RegistryTrace::MappedDrives:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU", 0}};
    case RegistryTrace::SearchComputer:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU", 0}};
    case RegistryTrace::StartMenuClicks:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist", 2, nullptr, L"Count",
               Progress::DecodedName}};
    case RegistryTrace::StartMenuOrder:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder", kDeep, IsOrder}};
    case RegistryTrace::AutoDial: return {{L"Software\\Microsoft\\RAS Autodial\\Addresses", kDeep}};
    case RegistryTrace::Telnet: return {{L"Software\\Microsoft\\Telnet", 0, IsMachine}};
    case RegistryTrace::TypedUrls:
      return {{L"Software\\Microsoft\\Internet Explorer\\TypedURLs", 0},
              {L"Software\\Microsoft\\Internet Explorer\\TypedURLsTime", 0}};
    case RegistryTrace::AutoCompleteData:
      return {{L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1", 0}};
    case RegistryTrace::AutoCompletePasswords:
      return {{L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2", 0}};
    case RegistryTrace::QuickTimeMovies:
      return {{L"Software\\Apple Computer, Inc.\\QuickTime\\LocalUserPreferences\\Recent Movies", kDeep}};
    case RegistryTrace::PaintFiles:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", 0}};
    case RegistryTrace::WinRarHistory:
      return {{L"Software\\WinRAR\\ArcHistory", 0}, {L"Software\\WinRAR\\DialogEditHistory", kDeep}};
    case RegistryTrace::ExplorerSearches:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery", 0}};
    case RegistryTrace::TypedPaths: return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths", 0}};
    case RegistryTrace::RecentDocsList:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs", 1}};
    case RegistryTrace::DialogFolders:
      return {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU", 0},
              {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU", 0},
              {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\CIDSizeMRU", 0}};
  }
  return {};
}

std::vector<std::wstring> SubKeyNames(HKEY key) {
  std::vector<std::wstring> names;
  DWORD count = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return names;
  }
  for (DWORD i = 0; i < count; ++i) {
    wchar_t name[kNameChars];
    DWORD nameChars = kNameChars;
    if (RegEnumKeyExW(key, i, name, &nameChars, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      names.emplace_back(name, nameChars);
    }
  }
  return names;
}

class ValueWalk {
 public:
  ValueWalk(cleaning::Reporter& reporter, const Source& source) : reporter_(reporter), source_(source) {}

  // Reports the values of HKEY_CURRENT_USER\path and of the keys below it, depth levels down.
  // False when the receiver ended the scan.
  bool Walk(const std::wstring& path, std::wstring_view name, int depth) {
    base::UniqueKey key;
    status_ = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.receive());
    if (status_ != ERROR_SUCCESS) return true;
    bool holdsTraces = !source_.onlyIn || SameText(name, source_.onlyIn);
    if (holdsTraces && !ReportValues(key.get(), kCurrentUserPrefix + path + L"\\")) return false;
    if (depth == 0) return true;
    std::vector<std::wstring> subKeys = SubKeyNames(key.get());
    key.reset();
    for (const std::wstring& sub : subKeys) {
      if (!Walk(path + L"\\" + sub, sub, depth - 1)) return false;
    }
    return true;
  }

  LONG status() const { return status_; }

 private:
  // The key's own value (the one without a name) is left out: a clean removes named values only.
  bool ReportValues(HKEY key, const std::wstring& location) {
    DWORD count = 0;
    status_ = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                               nullptr, nullptr);
    if (status_ != ERROR_SUCCESS) return true;
    for (DWORD i = 0; i < count; ++i) {
      wchar_t name[kNameChars];
      DWORD nameChars = kNameChars, type = REG_NONE, bytes = 0;
      if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) continue;
      std::wstring_view valueName(name, nameChars);
      if (valueName.empty() || (source_.accept && !source_.accept(valueName))) continue;
      wchar_t text[contracts::kValueChars];
      bool isText = base::ReadRegistryString(key, name, text, contracts::kValueChars);
      std::wstring_view textView(text, isText ? wcslen(text) : 0);
      uint64_t size = isText ? textView.size() * sizeof(wchar_t) : bytes;
      std::wstring_view shown = textView.empty() ? std::wstring_view(location) : textView;
      bool sent =
          source_.progress == Progress::DecodedName ? reporter_.Progress(Rot13(valueName)) : reporter_.Progress(shown);
      if (!sent || !reporter_.Item(valueName, location, size)) return false;
    }
    return true;
  }

  cleaning::Reporter& reporter_;
  const Source& source_;
  LONG status_ = ERROR_SUCCESS;
};

}  // namespace

std::wstring Rot13(std::wstring_view name) {
  std::wstring decoded(name);
  for (wchar_t& c : decoded) {
    if (c >= L'a' && c <= L'z')
      c = static_cast<wchar_t>(L'a' + (c - L'a' + 13) % 26);
    else if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(L'A' + (c - L'A' + 13) % 26);
  }
  return decoded;
}

bool IsRegistryTrace(std::wstring_view subKey, std::wstring_view valueName) {
  if (valueName.empty()) return false;
  for (RegistryTrace trace :
       {RegistryTrace::MappedDrives, RegistryTrace::SearchComputer, RegistryTrace::StartMenuClicks,
        RegistryTrace::StartMenuOrder, RegistryTrace::AutoDial, RegistryTrace::Telnet, RegistryTrace::TypedUrls,
        RegistryTrace::AutoCompleteData, RegistryTrace::AutoCompletePasswords, RegistryTrace::QuickTimeMovies,
        RegistryTrace::PaintFiles, RegistryTrace::WinRarHistory, RegistryTrace::ExplorerSearches,
        RegistryTrace::TypedPaths, RegistryTrace::RecentDocsList, RegistryTrace::DialogFolders}) {
    for (const Source& source : SourcesOf(trace)) {
      size_t keyLength = wcslen(source.key);
      if (subKey.size() < keyLength || _wcsnicmp(subKey.data(), source.key, keyLength) != 0) continue;
      std::wstring_view below = subKey.substr(keyLength);
      if (!below.empty() && below[0] != L'\\') continue;
      // The steps below the source's key, each a name of a key the walk can meet.
      int depth = 0;
      std::wstring_view last = std::wstring_view(source.key).substr(std::wstring_view(source.key).rfind(L'\\') + 1);
      while (!below.empty()) {
        below.remove_prefix(1);
        size_t end = below.find(L'\\');
        std::wstring_view step = below.substr(0, end);
        if (step.empty()) break;
        last = step;
        ++depth;
        below = end == std::wstring_view::npos ? std::wstring_view() : below.substr(end);
      }
      if (!below.empty() || depth > source.depth) continue;
      if (source.onlyIn && !SameText(last, source.onlyIn)) continue;
      if (source.accept && !source.accept(valueName)) continue;
      return true;
    }
  }
  return false;
}

LONG ScanRegistryTrace(cleaning::Reporter& reporter, RegistryTrace trace) {
  LONG status = ERROR_SUCCESS;
  for (const Source& source : SourcesOf(trace)) {
    ValueWalk walk(reporter, source);
    std::wstring key = source.key;
    size_t cut = key.rfind(L'\\');
    bool goOn = walk.Walk(key, std::wstring_view(key).substr(cut == std::wstring::npos ? 0 : cut + 1), source.depth);
    status = walk.status();
    if (!goOn) break;
  }
  return status;
}

}  // namespace tracewipe

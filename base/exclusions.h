// What the user never wants listed or cleaned: registry findings, files and folders, kept under
// HKEY_CURRENT_USER\Software\Lumaspan Software\KeepLumaspan\Exclusions, one REG_SZ value each.
// The value's name is the item's identity (see Identity below) and its data the kind's word
// ("Registry", "File" or "Folder"). The pages filter reports through a loaded set before listing
// them, so the engines keep no state and a scan run anywhere (window or console) sees the same.
#pragma once
#include <string>
#include <unordered_set>
#include <vector>

namespace base {

constexpr wchar_t kExclusionsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan\\Exclusions";

enum class ExclusionKind { kRegistry, kFile, kFolder };

// Longest identity kept; longer values are ignored on reading and refused on adding.
constexpr size_t kMaxExclusionLength = 2048;

struct Exclusion {
  ExclusionKind kind = ExclusionKind::kFile;
  // A file's or folder's full path, or a registry finding's "<category>|<key path>|<value name>"
  // (the value name empty for a finding about a key).
  std::wstring identity;
};

// The identity of a registry finding: its cleaner category, its key path as reported and its
// value name ("" for the key itself).
std::wstring RegistryIdentity(int category, const std::wstring& keyPath, const std::wstring& valueName);

// The kind's stored word and back; false for a word that is none of them.
const wchar_t* ExclusionKindWord(ExclusionKind kind);
bool ExclusionKindFromWord(const wchar_t* word, ExclusionKind* kind);

enum class AddResult { kAdded, kAlreadyThere, kRefusedDriveRoot, kRefusedEmptyOrLong, kFailed };

// Stores one exclusion. A folder that is a drive root (or a share's root) is refused: excluding a
// whole drive would hide everything on it.
AddResult AddExclusion(const Exclusion& item);
// Removes the exclusion with this identity (any kind); false when there was none or it failed.
bool RemoveExclusion(const std::wstring& identity);
// Every stored exclusion, in the registry's order, with wrong types, unknown kinds and values that
// are empty or too long left out.
std::vector<Exclusion> ReadExclusions();

// True when path (a full path) is a drive root such as "C:\" or a share root "\\server\share".
bool IsDriveRoot(const std::wstring& path);

// A loaded set to filter reports with; loads once, answers without touching the registry.
class ExclusionSet {
 public:
  ExclusionSet() = default;
  static ExclusionSet Load();
  explicit ExclusionSet(const std::vector<Exclusion>& items);

  bool empty() const { return files_.empty() && folders_.empty() && registry_.empty(); }
  // A file or folder excluded by itself or lying below an excluded folder (letter case ignored).
  bool ExcludesPath(const std::wstring& path) const;
  bool ExcludesRegistry(int category, const std::wstring& keyPath, const std::wstring& valueName) const;

 private:
  std::unordered_set<std::wstring> files_;     // upper-cased
  std::vector<std::wstring> folders_;          // upper-cased, each ending in a backslash
  std::unordered_set<std::wstring> registry_;  // upper-cased
};

}  // namespace base

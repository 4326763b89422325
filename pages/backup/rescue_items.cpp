#include "pages/backup/rescue_items.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <set>

#include "base/handles.h"
#include "pages/backup/rescue_files.h"
#include "suite/addonward/addon_places.h"

namespace rescue {
namespace {

struct Folder {
  Kind kind;
  const wchar_t* relative;
};
const Folder kFolders[] = {{Kind::kRegistryRepair, L"Backup\\Registry\\Undo"},
                           {Kind::kStartupEntry, L"Backup\\Startup"},
                           {Kind::kBrowserAddon, L"Backup\\Addons"},
                           {Kind::kOneClickRepair, L"Backup\\Repairs"}};
const wchar_t kFavoritesArea[] = L"Backup\\Favorites";
const wchar_t kStartupFiles[] = L"Backup\\Startup\\Files";

// The mark and "Windows Registry Editor Version 5.00\r\n": where the first block of a file starts.
constexpr DWORD64 kHeaderBytes = 2 + 38 * 2;

// Where each kind may write. The registry cleaner's categories scan below HKCU and HKLM "Software"
// and the services; the startup manager writes only Run and RunOnce values; the add-on manager only
// the entries of the four add-on keys (and their 32-bit copies); Repair All only the file classes,
// the browser's settings and the ActiveX kill flags.
const wchar_t* const kRunKeys[] = {L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                   L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                                   L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"};
bool RegistryRepairAllows(const RegOp& op) {
  if (op.type == RegOp::kDeleteKey) return false;  // its undo only ever writes back
  return KeyBelow(op.key, L"Software") ||
         (op.root == HKEY_LOCAL_MACHINE && KeyBelow(op.key, L"SYSTEM\\CurrentControlSet\\Services"));
}

bool StartupAllows(const RegOp& op) {
  if (op.type == RegOp::kDeleteKey) return false;
  if (op.type == RegOp::kSetValue && op.valueType != REG_SZ && op.valueType != REG_EXPAND_SZ) return false;
  for (const wchar_t* run : kRunKeys) {
    bool machineOnly = std::wcsstr(run, L"Wow6432Node") != nullptr;
    if (machineOnly && op.root != HKEY_LOCAL_MACHINE) continue;
    if (_wcsicmp(op.key.c_str(), run) == 0) return true;
  }
  return false;
}

// A kind's key, or its 32-bit copy "SOFTWARE\Wow6432Node\..." for a machine-wide kind.
bool AddonKeyMatches(const addonward::Kind& kind, const std::wstring& path, const std::wstring& key) {
  return kind.isValue ? _wcsicmp(key.c_str(), path.c_str()) == 0 : KeyBelow(key, path);
}

bool AddonAllows(const RegOp& op) {
  if (op.type == RegOp::kDeleteKey) return false;
  for (const addonward::Kind& kind : addonward::kKinds) {
    if (kind.root != op.root) continue;
    std::wstring path = kind.path;
    if (AddonKeyMatches(kind, path, op.key)) return true;
    size_t cut = path.find(L'\\');
    if (kind.root == HKEY_LOCAL_MACHINE && AddonKeyMatches(kind, path.substr(0, cut) + L"\\Wow6432Node" + path.substr(cut), op.key))
      return true;
  }
  return false;
}

bool OneClickAllows(const RegOp& op) {
  if (KeyBelow(op.key, L"Software\\Classes")) return true;
  const wchar_t* browser = L"Software\\Microsoft\\Internet Explorer";
  if (op.type == RegOp::kDeleteKey ? KeyBelow(op.key, browser) : KeyAtOrBelow(op.key, browser)) return true;
  return op.root == HKEY_LOCAL_MACHINE &&
         KeyAtOrBelow(op.key, L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\ActiveX Compatibility");
}

// "<14 digits>[-n].reg"; "Replaced <14 digits>[ (n)]".
bool Digits(const std::wstring& s, size_t at, size_t count) {
  if (at + count > s.size()) return false;
  for (size_t i = at; i < at + count; ++i)
    if (s[i] < L'0' || s[i] > L'9') return false;
  return true;
}

bool SmallNumber(const std::wstring& s, int* n) {
  if (s.empty() || s.size() > 2 || !Digits(s, 0, s.size()) || s[0] == L'0') return false;
  *n = _wtoi(s.c_str());
  return *n >= 2;
}

bool UndoFileName(const std::wstring& name, std::wstring* stamp, int* serial) {
  if (name.size() < 18 || !Digits(name, 0, 14) || _wcsicmp(name.c_str() + name.size() - 4, L".reg") != 0) return false;
  *stamp = name.substr(0, 14);
  *serial = 1;
  std::wstring rest = name.substr(14, name.size() - 18);
  return rest.empty() || (rest[0] == L'-' && SmallNumber(rest.substr(1), serial));
}

bool ReplacedName(const std::wstring& name, std::wstring* stamp, int* serial) {
  const size_t prefix = 9;  // "Replaced "
  if (name.size() < prefix + 14 || name.compare(0, prefix, L"Replaced ") != 0 || !Digits(name, prefix, 14)) return false;
  *stamp = name.substr(prefix, 14);
  *serial = 1;
  std::wstring rest = name.substr(prefix + 14);
  return rest.empty() || (rest.size() > 4 && rest.compare(0, 2, L" (") == 0 && rest.back() == L')' &&
                          SmallNumber(rest.substr(2, rest.size() - 3), serial));
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

std::wstring Parent(const std::wstring& path) {
  size_t cut = path.rfind(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring LeafOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  std::wstring x = a, y = b;
  while (!x.empty() && x.back() == L'\\') x.pop_back();
  while (!y.empty() && y.back() == L'\\') y.pop_back();
  return !x.empty() && _wcsicmp(x.c_str(), y.c_str()) == 0;
}

// A plain file name: nothing that could climb out of its folder or name a device stream.
bool PlainLeaf(const std::wstring& leaf) {
  return !leaf.empty() && leaf != L"." && leaf != L".." && leaf.size() < MAX_PATH &&
         leaf.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

// The startup manager's notes: ` "<path>" was moved to "<kept>"`, and after a failed move
// ` (that move failed: "<path>" stayed where it was)`.
bool MovedNote(const std::wstring& c, std::wstring* from, std::wstring* to) {
  const std::wstring middle = L"\" was moved to \"";
  size_t cut = c.find(middle);
  if (c.compare(0, 2, L" \"") != 0 || cut == std::wstring::npos || c.size() < cut + middle.size() + 1 || c.back() != L'"')
    return false;
  *from = c.substr(2, cut - 2);
  *to = c.substr(cut + middle.size(), c.size() - cut - middle.size() - 1);
  return true;
}

bool FailedNote(const std::wstring& c, const std::wstring& from) {
  return c == L" (that move failed: \"" + from + L"\" stayed where it was)";
}

// The bytes of a file from `undone` on, as a file of their own: the mark, the header, the blocks.
std::vector<char> Remainder(const std::vector<char>& bytes, DWORD64 undone) {
  if (undone <= kHeaderBytes) return bytes;
  std::vector<char> rest(bytes.begin(), bytes.begin() + kHeaderBytes);
  rest.insert(rest.end(), bytes.begin() + static_cast<size_t>(undone), bytes.end());
  return rest;
}

}  // namespace

bool OpsAllowed(Kind kind, const RegText& text, std::wstring* why) {
  for (const RegOp& op : text.ops) {
    bool allowed = false;
    switch (kind) {
      case Kind::kRegistryRepair: allowed = RegistryRepairAllows(op); break;
      case Kind::kStartupEntry: allowed = StartupAllows(op); break;
      case Kind::kBrowserAddon: allowed = AddonAllows(op); break;
      case Kind::kOneClickRepair: allowed = OneClickAllows(op); break;
      case Kind::kFavoritesReplaced: allowed = false; break;
    }
    if (!allowed) {
      if (why) *why = L"it names a key this kind of change never writes (" + FullKey(op) + L")";
      return false;
    }
  }
  return true;
}

// One undo file judged: its text from the undone part on, and the files it moved.
struct Change {
  std::vector<char> bytes;  // what is imported
  RegText text;
  std::vector<std::pair<std::wstring, std::wstring>> moves;  // original place, kept file
  DWORD64 size = 0;
};

bool LoadChange(const Places& places, Kind kind, const std::wstring& path, DWORD64 undone, Change* change,
                std::wstring* why) {
  std::vector<char> whole;
  if (!ReadUndoBytes(path, &whole, why)) return false;
  change->size = whole.size();
  RegText all;
  if (!ParseRegBytes(whole, &all, why) || !OpsAllowed(kind, all, why)) return false;
  if (undone > whole.size() || undone % 2 || (undone > 0 && undone < kHeaderBytes)) {
    *why = L"the file changed after its undo";
    return false;
  }
  change->bytes = Remainder(whole, undone);
  if (!ParseRegBytes(change->bytes, &change->text, why)) return false;
  if (kind != Kind::kStartupEntry) return true;
  const std::wstring files = Join(places.program, kStartupFiles);
  const std::vector<std::wstring>& notes = change->text.comments;
  for (size_t i = 0; i < notes.size(); ++i) {
    std::wstring from, to;
    if (!MovedNote(notes[i], &from, &to)) continue;
    if (i + 1 < notes.size() && FailedNote(notes[i + 1], from)) continue;
    bool inStartup = false;
    for (const std::wstring& folder : places.startupFolders) inStartup = inStartup || SameFolder(Parent(from), folder);
    if (!inStartup || !PlainLeaf(LeafOf(from)) || !SameFolder(Parent(to), files) || !PlainLeaf(LeafOf(to))) {
      *why = L"it names a file outside the Startup folders or the startup manager's backup";
      return false;
    }
    change->moves.emplace_back(from, to);
  }
  return true;
}

Places SystemPlaces(const std::wstring& programFolder) {
  Places places;
  places.program = programFolder;
  wchar_t path[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path)))
    places.favorites = path;
  for (int csidl : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP}) {
    path[0] = L'\0';
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0])
      places.startupFolders.push_back(path);
  }
  return places;
}

const wchar_t* KindName(Kind kind) {
  switch (kind) {
    case Kind::kRegistryRepair: return L"Registry repair";
    case Kind::kStartupEntry: return L"Startup entry";
    case Kind::kBrowserAddon: return L"Browser add-on";
    case Kind::kOneClickRepair: return L"One-click repair";
    case Kind::kFavoritesReplaced: return L"Favorites replaced";
  }
  return L"";
}

std::wstring WhenText(const Item& item) {
  const std::wstring& s = item.stamp;
  if (s.size() != 14) return s;
  return s.substr(0, 4) + L"-" + s.substr(4, 2) + L"-" + s.substr(6, 2) + L" " + s.substr(8, 2) + L":" +
         s.substr(10, 2) + L":" + s.substr(12, 2);
}

namespace {

// A folder's entries and the names of its markers, read in one pass: a look-up of a name that does
// not exist costs a scan of the whole folder on some file systems (Wine's case-insensitive search),
// so markers are never probed one by one.
struct Listing {
  std::vector<std::pair<std::wstring, DWORD>> entries;  // name, attributes
  std::set<std::wstring> markers;                       // lower case, without the suffix
};

Listing ListFolder(const std::wstring& folder) {
  Listing listing;
  const size_t suffix = std::wcslen(kMarkerSuffix);
  ForEachEntry(folder, 2 * kMaxItemsPerFolder, [&](const WIN32_FIND_DATAW& found) {
    std::wstring name = found.cFileName;
    if (name.size() > suffix && _wcsicmp(name.c_str() + name.size() - suffix, kMarkerSuffix) == 0) {
      std::wstring base = name.substr(0, name.size() - suffix);
      CharLowerBuffW(&base[0], static_cast<DWORD>(base.size()));
      listing.markers.insert(base);
    } else if (listing.entries.size() < kMaxItemsPerFolder) {
      listing.entries.emplace_back(name, found.dwFileAttributes);
    }
  });
  return listing;
}

bool Marked(const Listing& listing, const std::wstring& folder, const std::wstring& name, DWORD64* bytes) {
  std::wstring lower = name;
  CharLowerBuffW(&lower[0], static_cast<DWORD>(lower.size()));
  *bytes = 0;
  return listing.markers.count(lower) && ReadMarker(Join(folder, name), bytes);
}

}  // namespace

std::vector<Item> ListItems(const Places& places) {
  std::vector<Item> items;
  for (const Folder& folder : kFolders) {
    const std::wstring where = Join(places.program, folder.relative);
    Listing listing = ListFolder(where);
    for (const auto& entry : listing.entries) {
      Item item;
      item.kind = folder.kind;
      if ((entry.second & FILE_ATTRIBUTE_DIRECTORY) || !UndoFileName(entry.first, &item.stamp, &item.serial)) continue;
      item.path = Join(where, entry.first);
      bool marked = Marked(listing, where, entry.first, &item.undoneBytes);
      Change change;
      if (!LoadChange(places, folder.kind, item.path, item.undoneBytes, &change, &item.problem)) {
        item.state = State::kDamaged;
      } else if (marked && item.undoneBytes == change.size) {
        item.state = State::kUndone;
        RegText all;
        std::vector<char> whole;
        std::wstring ignored;
        if (ReadUndoBytes(item.path, &whole, &ignored) && ParseRegBytes(whole, &all, &ignored))
          item.entries = all.Entries();
      } else {
        item.entries = change.text.Entries() + static_cast<int>(change.moves.size());
        for (const auto& move : change.moves) {
          if (GetFileAttributesW(move.second.c_str()) == INVALID_FILE_ATTRIBUTES) {
            item.state = State::kMissing;
            item.problem = L"the kept file \"" + LeafOf(move.second) + L"\" is missing";
          }
        }
      }
      items.push_back(std::move(item));
    }
  }
  const std::wstring area = Join(places.program, kFavoritesArea);
  Listing listing = ListFolder(area);
  for (const auto& entry : listing.entries) {
    Item item;
    item.kind = Kind::kFavoritesReplaced;
    if (!(entry.second & FILE_ATTRIBUTE_DIRECTORY) || (entry.second & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !ReplacedName(entry.first, &item.stamp, &item.serial))
      continue;
    item.path = Join(area, entry.first);
    item.entries = CountEntries(item.path);
    if (Marked(listing, area, entry.first, &item.undoneBytes)) item.state = State::kUndone;
    items.push_back(std::move(item));
  }
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return a.stamp != b.stamp ? a.stamp > b.stamp : a.serial > b.serial;
  });
  return items;
}

namespace {

Outcome Refused(const std::wstring& why) {
  Outcome o;
  o.refused = true;
  o.why = why;
  return o;
}

// Moves a kept file or favorite back; beside what stands there now under "name (n).ext".
void PutBack(const std::wstring& from, const std::wstring& to, Outcome* outcome) {
  std::wstring target = to;
  if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
    target = FreeNameBeside(to);
    ++outcome->keptBeside;
  }
  if (target.empty() || !MoveFileExW(from.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
    if (target != to) --outcome->keptBeside;
    ++outcome->notPutBack;
    outcome->why = L"a file could not be moved back to \"" + Parent(to) + L"\"";
  }
}

Outcome UndoFavorites(const Places& places, const Item& item) {
  Outcome outcome;
  if (places.favorites.empty() || !EnsureFolder(places.favorites)) return Refused(L"the favorites folder cannot be made");
  std::vector<std::wstring> names;
  ForEachEntry(item.path, kMaxItemsPerFolder, [&](const WIN32_FIND_DATAW& found) { names.push_back(found.cFileName); });
  outcome.total = static_cast<int>(names.size());
  for (const std::wstring& name : names) PutBack(Join(item.path, name), Join(places.favorites, name), &outcome);
  if (outcome.notPutBack == 0) WriteMarker(item.path, 0);
  return outcome;
}

}  // namespace

Outcome Undo(const Places& places, const Item& item) {
  if (item.state == State::kUndone) return Refused(L"This change has already been undone.");
  if (item.state != State::kReady) return Refused(L"This change cannot be undone: " + item.problem + L".");
  if (item.kind == Kind::kFavoritesReplaced) {
    DWORD64 ignored = 0;
    if (ReadMarker(item.path, &ignored)) return Refused(L"This change has already been undone.");
    return UndoFavorites(places, item);
  }
  // Judged again from the disk: what is imported is what was judged a moment ago, not what the
  // list saw.
  DWORD64 undone = 0;
  bool marked = ReadMarker(item.path, &undone);
  Change change;
  std::wstring why;
  if (!LoadChange(places, item.kind, item.path, undone, &change, &why))
    return Refused(L"This change cannot be undone: " + why + L".");
  if (marked && undone == change.size) return Refused(L"This change has already been undone.");
  for (const auto& move : change.moves)
    if (GetFileAttributesW(move.second.c_str()) == INVALID_FILE_ATTRIBUTES)
      return Refused(L"This change cannot be undone: the kept file \"" + LeafOf(move.second) + L"\" is missing.");
  Outcome outcome;
  const int registryEntries = change.text.Entries();
  outcome.total = registryEntries + static_cast<int>(change.moves.size());
  if (!change.text.ops.empty()) {
    if (!ImportRegBytes(change.bytes)) {
      outcome.notPutBack = registryEntries;
      outcome.why = L"the registry editor could not import the undo file";
    } else if (int missing = OpsNotInRegistry(change.text)) {
      outcome.notPutBack = std::min(missing, registryEntries);
      outcome.why = L"the registry did not take them (access denied?)";
    }
  }
  for (const auto& move : change.moves) PutBack(move.second, move.first, &outcome);
  if (outcome.notPutBack < outcome.total || outcome.total == 0) WriteMarker(item.path, change.size);
  return outcome;
}

bool Delete(const Places& places, const Item& item) {
  bool done = true;
  if (item.kind == Kind::kFavoritesReplaced) {
    done = DeleteTree(item.path);
  } else {
    // The files the startup manager kept go with their note; only those inside its own folder.
    Change change;
    std::wstring ignored;
    if (item.kind == Kind::kStartupEntry && LoadChange(places, item.kind, item.path, 0, &change, &ignored)) {
      for (const auto& move : change.moves)
        if (GetFileAttributesW(move.second.c_str()) != INVALID_FILE_ATTRIBUTES)
          done = DeleteTree(move.second) && done;
    }
    done = (DeleteFileW(item.path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) && done;
  }
  std::wstring marker = item.path + kMarkerSuffix;
  if (!DeleteFileW(marker.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) done = false;
  return done;
}

}  // namespace rescue

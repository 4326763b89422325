#include "engines/litterbin/junk_scan.h"

#include <shlobj.h>

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "engines/common/folder_walk.h"
#include "engines/common/path_guard.h"
#include "engines/common/shell_folders.h"
#include "engines/litterbin/recycle_bin.h"

namespace litterbin {
namespace {

const uint64_t kDay = 24ULL * 60 * 60 * 10000000;  // in FILETIME units of 100 ns

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; }

// suffix in lower case; the name's letters are compared in either case.
bool EndsWith(const wchar_t* name, size_t length, const wchar_t* suffix, size_t suffixLength) {
  if (length < suffixLength) return false;
  name += length - suffixLength;
  for (size_t i = 0; i < suffixLength; ++i) {
    if (FoldAscii(name[i]) != suffix[i]) return false;
  }
  return true;
}

bool IsDumpName(const wchar_t* name, size_t length) { return EndsWith(name, length, L".dmp", 4); }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// "X:\" at the start of text.
bool BeginsWithDriveRoot(const wchar_t* text, size_t length) {
  return length >= 3 && IsDriveLetter(text[0]) && text[1] == L':' && text[2] == L'\\';
}

// The letters (upper case) of the system drives: the Windows folder's and the Favorites folder's,
// both in canonical form, so that an alias of either names the drive it stands for. Empty when the
// Windows folder is unknown.
std::wstring SystemDrives(const cleaning::PathGuard& guard) {
  std::wstring letters;
  if (guard.windows().empty() || guard.windows()[1] != L':') return letters;
  letters.push_back(guard.windows()[0]);
  std::wstring favorites, canonical;
  if (SUCCEEDED(cleaning::ShellFolderPath(CSIDL_FAVORITES, &favorites)) &&
      cleaning::CanonicalPath(favorites, &canonical) && canonical[1] == L':' && canonical[0] != letters[0]) {
    letters.push_back(canonical[0]);
  }
  return letters;
}

bool OnSystemDrive(const std::wstring& canonical, const std::wstring& systemDrives) {
  return canonical.size() >= 2 && canonical[1] == L':' && systemDrives.find(canonical[0]) != std::wstring::npos;
}

uint64_t Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// Whether the file at path was last created or written a day ago or earlier.
bool Settled(const std::wstring& path) {
  std::wstring named = path.size() < MAX_PATH ? path : L"\\\\?\\" + path;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(named.c_str(), GetFileExInfoStandard, &data)) return false;
  return cleaning::LastChange(data.ftCreationTime, data.ftLastWriteTime) + kDay <= Now();
}

// What a source gives: every file, every file left alone for a day (a temporary folder), or
// crash dumps only.
enum class Take { kEvery, kSettled, kDumps };

// A folder of the system drive walked whole, as named and in canonical form.
struct Source {
  std::wstring walked, canonical;
  Take take;
};

// The sources of a system drive, in walk order, each when the guard accepts it and it lies
// inside no earlier one (so no file is reported twice).
std::vector<Source> SystemSources(const cleaning::PathGuard& guard) {
  std::vector<Source> sources;
  auto add = [&](HRESULT hr, const std::wstring& folder, const wchar_t* ownSystemFolder, Take take) {
    Source source{folder, std::wstring(), take};
    if (FAILED(hr) || !guard.AcceptRoot(folder, ownSystemFolder, &source.canonical)) return;
    for (const Source& earlier : sources) {
      if (cleaning::WithinFolder(source.canonical, earlier.canonical)) return;
    }
    sources.push_back(source);
  };
  std::wstring folder, windows, local, common;
  add(cleaning::ShellFolderPath(CSIDL_INTERNET_CACHE, &folder), folder, nullptr, Take::kEvery);
  HRESULT hasWindows = cleaning::ShellFolderPath(CSIDL_WINDOWS, &windows);
  add(hasWindows, windows + L"\\Prefetch", L"Prefetch", Take::kEvery);
  add(cleaning::TemporaryFolder(&folder), folder, L"Temp", Take::kSettled);
  add(cleaning::ShellFolderPath(CSIDL_RECENT, &folder), folder, nullptr, Take::kEvery);
  add(hasWindows, windows + L"\\Temp", L"Temp", Take::kSettled);
  HRESULT hasLocal = cleaning::ShellFolderPath(CSIDL_LOCAL_APPDATA, &local);
  add(hasLocal, local + L"\\CrashDumps", nullptr, Take::kDumps);
  add(hasWindows, windows + L"\\Minidump", L"Minidump", Take::kDumps);
  HRESULT hasCommon = cleaning::ShellFolderPath(CSIDL_COMMON_APPDATA, &common);
  for (const wchar_t* reports : {L"\\Microsoft\\Windows\\WER\\ReportArchive", L"\\Microsoft\\Windows\\WER\\ReportQueue"}) {
    add(hasLocal, local + reports, nullptr, Take::kEvery);
    add(hasCommon, common + reports, nullptr, Take::kEvery);
  }
  return sources;
}

// The folders inside canonical that its walk must not enter, spelt as the walk from walked meets
// them.
std::vector<std::wstring> FenceOf(const std::wstring& walked, const std::wstring& canonical,
                                  const std::vector<std::wstring>& folders) {
  std::vector<std::wstring> fence;
  for (const std::wstring& folder : folders) {
    if (folder.size() <= canonical.size() || !cleaning::WithinFolder(folder, canonical)) continue;
    size_t from = canonical.size() + (canonical.back() == L'\\' ? 0 : 1);
    std::wstring spelt = walked;
    if (spelt.empty() || spelt.back() != L'\\') spelt.push_back(L'\\');
    fence.push_back(spelt + folder.substr(from));
  }
  return fence;
}

// The user's profile folder, walked for junk names outside the folders that hold the user's own
// files (the guard's data folders, Downloads aside: what is left there half-fetched is junk) and
// the protected ones, and outside the sources walked whole.
struct ProfileWalk {
  std::wstring walked, canonical;
  std::vector<std::wstring> fenced;  // canonical
};

bool ProfileFolder(const cleaning::PathGuard& guard, const std::vector<Source>& sources, ProfileWalk* profile) {
  if (FAILED(cleaning::ShellFolderPath(CSIDL_PROFILE, &profile->walked)) ||
      !cleaning::CanonicalPath(profile->walked, &profile->canonical) ||
      profile->canonical.size() <= cleaning::RootLength(profile->canonical) ||
      !cleaning::PlainFoldersFrom(profile->canonical, 0)) {
    return false;
  }
  std::vector<std::wstring>& fenced = profile->fenced;
  for (int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO}) {
    std::wstring folder, canonical;
    if (SUCCEEDED(cleaning::ShellFolderPath(csidl, &folder)) && cleaning::CanonicalPath(folder, &canonical)) {
      // A data folder that is the profile itself (or holds it) leaves nothing to walk.
      if (cleaning::WithinFolder(profile->canonical, canonical)) return false;
      fenced.push_back(canonical);
    }
  }
  for (const std::wstring& folder : guard.protectedFolders()) {
    if (folder.size() > profile->canonical.size()) fenced.push_back(folder);
  }
  for (const Source& source : sources) fenced.push_back(source.canonical);
  return true;
}

bool ReportFile(cleaning::Reporter& reporter, const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return true;
  FindClose(find);
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  std::wstring found = path.substr(0, path.rfind(L'\\') + 1) + data.cFileName;
  return reporter.Progress(data.cFileName) && reporter.Item(data.cFileName, found, size);
}

bool SameName(const std::wstring& name, const wchar_t* other) {
  size_t length = wcslen(other);
  return name.size() == length && EndsWith(name.c_str(), length, other, length);
}

const wchar_t kMemoryDump[] = L"memory.dmp";  // the Windows folder's full dump, as compared

bool ScanSystemDrive(cleaning::Reporter& reporter, const cleaning::PathGuard& guard) {
  const std::vector<Source> sources = SystemSources(guard);
  std::vector<std::wstring> inner;
  for (const Source& source : sources) inner.push_back(source.canonical);
  const uint64_t keepFrom = Now() - kDay;
  for (const Source& source : sources) {
    cleaning::FolderWalk walk(reporter, source.take == Take::kDumps ? IsDumpName : nullptr);
    if (source.take == Take::kSettled) walk.KeepFrom(keepFrom);
    walk.Fence(FenceOf(source.walked, source.canonical, inner));
    if (!walk.Walk(source.walked)) return false;
  }
  if (!ReportFile(reporter, guard.windows() + L"\\MEMORY.DMP")) return false;
  ProfileWalk profile;
  if (ProfileFolder(guard, sources, &profile)) {
    cleaning::FolderWalk walk(reporter, IsJunkName);
    walk.Fence(FenceOf(profile.walked, profile.canonical, profile.fenced));
    if (!walk.Walk(profile.walked)) return false;
  }
  return true;
}

bool IsSystemJunkNow(const cleaning::FileTarget& target, const cleaning::PathGuard& guard) {
  const std::vector<Source> sources = SystemSources(guard);
  for (const Source& source : sources) {
    if (!cleaning::WalkReaches(target.folder, source.canonical)) continue;
    switch (source.take) {
      case Take::kEvery:
        return true;
      case Take::kSettled:
        return Settled(target.Path());
      case Take::kDumps:
        return IsDumpName(target.name.c_str(), target.name.size());
    }
  }
  if (target.folder.size() == guard.windows().size() && cleaning::WithinFolder(target.folder, guard.windows())) {
    return SameName(target.name, kMemoryDump);
  }
  ProfileWalk profile;
  if (!IsJunkName(target.name.c_str(), target.name.size()) || !ProfileFolder(guard, sources, &profile) ||
      !cleaning::WalkReaches(target.folder, profile.canonical)) {
    return false;
  }
  for (const std::wstring& folder : profile.fenced) {
    if (cleaning::WithinFolder(target.folder, folder)) return false;
  }
  return true;
}

}  // namespace

bool IsJunkName(const wchar_t* name, size_t length) {
  // A name that passes two tests ("~$a.tmp") is still one junk file, reported once.
  return EndsWith(name, length, L".old", 4) || EndsWith(name, length, L".~de", 4) ||
         EndsWith(name, length, L".tmp", 4) || (length >= 2 && name[0] == L'~' && name[1] == L'$');
}

LONG ScanDrive(cleaning::Reporter& reporter, const wchar_t* drive) {
  std::wstring root(drive ? drive : L"", base::LengthBounded(drive, 4));
  if (root.size() != 3 || !BeginsWithDriveRoot(root.c_str(), 3)) return ERROR_INVALID_PARAMETER;
  const cleaning::PathGuard guard;
  std::wstring systemDrives = SystemDrives(guard), canonical;
  if (systemDrives.empty() || !cleaning::CanonicalPath(root, &canonical)) return ERROR_PATH_NOT_FOUND;
  if (OnSystemDrive(canonical, systemDrives)) {
    if (ScanSystemDrive(reporter, guard)) ReportRecycleBin(reporter, root);
    return ERROR_SUCCESS;
  }
  // A drive that stands for a folder of another drive is walked only when that folder may be.
  const size_t rootLength = cleaning::RootLength(canonical);
  if (canonical.size() > rootLength &&
      (guard.InProtected(canonical) || !cleaning::PlainFoldersFrom(canonical, 0))) {
    return ERROR_ACCESS_DENIED;
  }
  cleaning::FolderWalk walk(reporter, IsJunkName);
  walk.Fence(FenceOf(root, canonical, guard.protectedFolders()));
  if (walk.Walk(root)) ReportRecycleBin(reporter, root);
  return ERROR_SUCCESS;
}

bool IsJunkNow(const cleaning::FileTarget& target) {
  const cleaning::PathGuard guard;
  std::wstring systemDrives = SystemDrives(guard);
  if (systemDrives.empty()) return false;
  if (OnSystemDrive(target.folder, systemDrives)) return IsSystemJunkNow(target, guard);
  return IsJunkName(target.name.c_str(), target.name.size()) && !guard.InProtected(target.folder) &&
         target.folder.size() + 4 < MAX_PATH && cleaning::PlainFoldersFrom(target.folder, 0);
}

}  // namespace litterbin

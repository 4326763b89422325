#include "paths.h"

#include <cwctype>

#include "registry_access.h"

namespace hivescrub {
namespace {

enum Kind : int { kNothing, kFile, kDirectory, kUnverifiable };

std::wstring Trimmed(const std::wstring& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && std::iswspace(s[begin])) ++begin;
  while (end > begin && std::iswspace(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

std::wstring Unquoted(std::wstring s) {
  s = Trimmed(s);
  if (s.size() >= 2 && s.front() == L'"' && s.back() == L'"') s = s.substr(1, s.size() - 2);
  else if (!s.empty() && s.front() == L'"') s = s.substr(1);
  return Trimmed(s);
}

bool IsBareName(const std::wstring& s) { return s.find_first_of(L"\\/:") == std::wstring::npos; }

bool IsDriveAbsolute(const std::wstring& s) {
  return s.size() >= 3 && std::iswalpha(s[0]) && s[1] == L':' && s[2] == L'\\';
}

bool HasExtension(const std::wstring& s) {
  size_t dot = s.rfind(L'.');
  size_t slash = s.find_last_of(L"\\/");
  return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) && dot + 1 < s.size();
}

std::wstring SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH] = {};
  UINT n = get(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

bool IsWow64Process() {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow = FALSE;
  return fn && fn(GetCurrentProcess(), &wow) && wow;
}

UINT WINAPI Wow64SystemFolder(LPWSTR buffer, UINT size) {
  using Fn = UINT(WINAPI*)(LPWSTR, UINT);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemWow64DirectoryW")));
  return fn ? fn(buffer, size) : 0;
}

// The part of an "@file,-id" resource reference that names the file.
std::wstring ResourceFile(std::wstring s) {
  size_t semicolon = s.find(L';');  // "@file,-id;v1.2" carries a version after the reference
  if (semicolon != std::wstring::npos) s = s.substr(0, semicolon);
  size_t comma = s.rfind(L',');
  if (comma != std::wstring::npos) {
    size_t i = comma + 1;
    if (i < s.size() && s[i] == L'-') ++i;
    bool digits = i < s.size();
    for (; i < s.size(); ++i) digits = digits && std::iswdigit(s[i]);
    if (digits) s = s.substr(0, comma);
  }
  return s;
}

// Replaces the leading folder `from` of path by `to`; false when path does not lie in from.
bool Rebase(const std::wstring& path, const std::wstring& from, const std::wstring& to, std::wstring* out) {
  if (from.empty() || to.empty() || !StartsWithNoCase(path, from)) return false;
  if (path.size() > from.size() && path[from.size()] != L'\\') return false;
  *out = to + path.substr(from.size());
  return true;
}

}  // namespace

PathJudge::PathJudge() {
  windows_ = SystemFolder(GetSystemWindowsDirectoryW);
  system_ = SystemFolder(GetSystemDirectoryW);
  wow64System_ = SystemFolder(Wow64SystemFolder);
  if (IsWow64Process()) {
    // A 32-bit process sees the 32-bit folder under the name System32; the native one is Sysnative.
    std::wstring native = windows_ + L"\\Sysnative";
    if (GetFileAttributesW(native.c_str()) != INVALID_FILE_ATTRIBUTES) nativeSystem_ = native;
  }
  programFiles_ = Environment(L"ProgramW6432");
  if (programFiles_.empty()) programFiles_ = Environment(L"ProgramFiles");
  programFilesX86_ = Environment(L"ProgramFiles(x86)");

  std::wstring path;
  DWORD n = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (n > 0 && n < 32768) {
    path.assign(n, L'\0');
    n = GetEnvironmentVariableW(L"PATH", &path[0], n);
    path.resize(n);
  }
  size_t start = 0;
  while (start < path.size()) {
    size_t cut = path.find(L';', start);
    if (cut == std::wstring::npos) cut = path.size();
    std::wstring folder = Unquoted(path.substr(start, cut - start));
    start = cut + 1;
    if (folder.empty()) continue;
    if (!Normalize(&folder) || !IsDriveAbsolute(folder)) {
      searchPathVerifiable_ = false;  // a program may live there; absence cannot be proven
      continue;
    }
    searchPath_.push_back(folder);
  }
}

bool PathJudge::Normalize(std::wstring* path) const {
  std::wstring& s = *path;
  s = Trimmed(s);
  for (wchar_t& c : s)
    if (c == L'/') c = L'\\';
  if (StartsWithNoCase(s, L"\\SystemRoot\\")) s = windows_ + s.substr(11);
  else if (StartsWithNoCase(s, L"\\??\\UNC\\") || StartsWithNoCase(s, L"\\\\?\\UNC\\")) s = L"\\\\" + s.substr(8);
  else if (StartsWithNoCase(s, L"\\??\\") || StartsWithNoCase(s, L"\\\\?\\")) s = s.substr(4);
  if (s.find(L'%') == std::wstring::npos) return true;
  // %NAME% of a variable this process knows is expanded; anything else ("%1", "%*", an unknown
  // name) stays as it is, and a program name left holding "%" is not judged.
  std::wstring out;
  for (size_t i = 0; i < s.size(); ++i) {
    size_t close = s[i] == L'%' ? s.find(L'%', i + 1) : std::wstring::npos;
    if (close != std::wstring::npos && close > i + 1) {
      std::wstring name = s.substr(i + 1, close - i - 1);
      DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
      if (n > 0 && n < 32768) {
        std::wstring value(n, L'\0');
        n = GetEnvironmentVariableW(name.c_str(), &value[0], n);
        value.resize(n);
        out += value;
        i = close;
        continue;
      }
    }
    out += s[i];
  }
  s = Trimmed(out);
  return s.size() < 32768;
}

Presence PathJudge::ExistsOnce(const std::wstring& path, bool folder) {
  std::wstring key = Lowered(path);
  auto found = cache_.find(key);
  int kind;
  if (found != cache_.end()) {
    kind = static_cast<int>(found->second);
  } else {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kDirectory : kFile;
    } else {
      DWORD error = GetLastError();
      kind = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? kNothing : kUnverifiable;
    }
    cache_.emplace(std::move(key), static_cast<Presence>(kind));
  }
  if (kind == kUnverifiable) return Presence::kUnknown;
  if (kind == kNothing) return Presence::kMissing;
  // Where a folder is expected anything there will do; a program or document must be a file.
  if (folder || kind == kFile) return Presence::kPresent;
  return Presence::kMissing;
}

Presence PathJudge::Exists(const std::wstring& path, bool folder) {
  if (!IsDriveAbsolute(path) || path.size() >= MAX_PATH) return Presence::kUnknown;
  for (size_t i = 2; i < path.size(); ++i) {
    wchar_t c = path[i];
    if (c < 32 || wcschr(L"<>\"|?*:", c)) return Presence::kUnknown;  // not a plain path
  }
  wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
  auto drive = fixedDrives_.find(letter);
  if (drive == fixedDrives_.end()) {
    wchar_t root[] = {letter, L':', L'\\', 0};
    UINT type = GetDriveTypeW(root);
    drive = fixedDrives_.emplace(letter, type == DRIVE_FIXED || type == DRIVE_RAMDISK).first;
  }
  if (!drive->second) return Presence::kUnknown;  // removable, network, absent: never judged

  Presence first = ExistsOnce(path, folder);
  if (first != Presence::kMissing) return first;
  const std::wstring* systems[] = {&system_, &wow64System_, &nativeSystem_};
  const std::wstring* programs[] = {&programFiles_, &programFilesX86_};
  Presence result = Presence::kMissing;
  auto tryOthers = [&](const std::wstring* const* folders, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      for (size_t j = 0; j < count; ++j) {
        std::wstring other;
        if (i == j || !Rebase(path, *folders[i], *folders[j], &other)) continue;
        Presence p = ExistsOnce(other, folder);
        if (p == Presence::kPresent) return Presence::kPresent;
        if (p == Presence::kUnknown) result = Presence::kUnknown;
      }
    }
    return result;
  };
  if (tryOthers(systems, 3) == Presence::kPresent) return Presence::kPresent;
  if (tryOthers(programs, 2) == Presence::kPresent) return Presence::kPresent;
  return result;
}

bool PathJudge::AppPathRegistered(const std::wstring& name) {
  std::wstring key = Lowered(name);
  auto found = appPaths_.find(key);
  if (found != appPaths_.end()) return found->second;
  bool registered = false;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::wstring sub = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
    if (OpenRead(root, sub).valid()) registered = true;
  }
  appPaths_.emplace(std::move(key), registered);
  return registered;
}

Presence PathJudge::BareName(const std::wstring& name, const std::vector<std::wstring>& folders) {
  if (name.empty() || !IsBareName(name)) return Presence::kUnknown;
  std::vector<std::wstring> names{name};
  if (!HasExtension(name)) names.push_back(name + L".exe");
  for (const std::wstring& n : names)
    if (AppPathRegistered(n)) return Presence::kPresent;
  std::vector<std::wstring> where(folders);
  for (const std::wstring* f : {&system_, &wow64System_, &nativeSystem_}) where.push_back(*f);
  where.push_back(windows_ + L"\\System");
  where.push_back(windows_);
  where.insert(where.end(), searchPath_.begin(), searchPath_.end());
  Presence result = searchPathVerifiable_ ? Presence::kMissing : Presence::kUnknown;
  for (const std::wstring& folder : where) {
    if (folder.empty()) continue;
    for (const std::wstring& n : names) {
      std::wstring full = folder.back() == L'\\' ? folder + n : folder + L"\\" + n;
      Presence p = Exists(full, false);
      if (p == Presence::kPresent) return p;
      if (p == Presence::kUnknown) result = p;
    }
  }
  return result;
}

std::wstring PathJudge::ShownPath(const std::wstring& path, bool wow64) const {
  std::wstring mapped;
  if (wow64 && Rebase(path, system_, wow64System_, &mapped)) return mapped;
  return path;
}

Target PathJudge::FileOrName(std::wstring path, bool wow64, const std::vector<std::wstring>& folders, bool allowExe) {
  Target t;
  t.path = Trimmed(path);
  path = Unquoted(path);
  if (path.empty() || !Normalize(&path) || path.find(L'%') != std::wstring::npos) return t;
  t.path = path;
  if (IsBareName(path)) {
    t.presence = BareName(path, folders);
    return t;
  }
  if (!IsDriveAbsolute(path)) return t;  // relative, network or malformed: not judged
  t.path = ShownPath(path, wow64);
  t.presence = Exists(path, false);
  if (t.presence == Presence::kMissing && allowExe && !HasExtension(path)) {
    t.presence = Exists(path + L".exe", false);
  }
  return t;
}

Target PathJudge::File(const std::wstring& path, bool wow64, const std::vector<std::wstring>& folders) {
  std::wstring s = Trimmed(path);
  if (!s.empty() && s[0] == L'@') s = ResourceFile(s.substr(1));
  return FileOrName(s, wow64, folders, false);
}

Target PathJudge::Folder(const std::wstring& path, bool wow64) {
  Target t;
  std::wstring s = Unquoted(path);
  t.path = s;
  if (s.empty() || !Normalize(&s) || s.find(L'%') != std::wstring::npos || !IsDriveAbsolute(s)) return t;
  t.path = ShownPath(s, wow64);
  t.presence = Exists(s, true);
  return t;
}

Target PathJudge::Program(const std::wstring& command, bool wow64) { return CommandLine(command, wow64, false); }

Target PathJudge::ServiceImage(const std::wstring& command, bool wow64) { return CommandLine(command, wow64, true); }

Target PathJudge::CommandLine(std::wstring s, bool wow64, bool service) {
  Target unknown;
  unknown.path = Trimmed(s);
  s = Trimmed(s);
  if (s.empty()) return unknown;
  if (s[0] == L'@') return File(s, wow64);
  if (!Normalize(&s) || s.empty()) return unknown;
  if (service && s[0] != L'"' && !IsDriveAbsolute(s) && s[0] != L'\\' && !IsBareName(s.substr(0, s.find(L' '))))
    s = windows_ + L"\\" + s;  // "system32\x.exe": the service control manager starts from the Windows folder

  Target program;
  std::wstring args;
  if (s[0] == L'"') {
    size_t close = s.find(L'"', 1);
    std::wstring inside = close == std::wstring::npos ? s.substr(1) : s.substr(1, close - 1);
    args = close == std::wstring::npos ? std::wstring() : s.substr(close + 1);
    program = FileOrName(inside, wow64, {}, true);
  } else {
    // Unquoted with spaces: CreateProcess tries each space as the end of the program name in turn.
    Target shown;
    bool unverifiable = false, chosen = false, first = true;
    for (size_t end = s.find(L' ');; end = s.find(L' ', end + 1)) {
      size_t stop = end == std::wstring::npos ? s.size() : end;
      std::wstring candidate = Trimmed(s.substr(0, stop));
      // Once arguments hold a slash a longer candidate is no program name at all.
      bool plausible = first || IsDriveAbsolute(candidate) || IsBareName(candidate);
      first = false;
      if (!candidate.empty() && plausible) {
        Target t = FileOrName(candidate, wow64, {}, true);
        if (t.presence == Presence::kPresent) {
          program = t;
          args = stop < s.size() ? s.substr(stop) : std::wstring();
          chosen = true;
          break;
        }
        if (t.presence == Presence::kUnknown) unverifiable = true;
        if (shown.path.empty() || (!HasExtension(shown.path) && HasExtension(t.path))) shown = t;
      }
      if (end == std::wstring::npos) break;
    }
    if (!chosen) {
      program = shown;
      program.presence = unverifiable || shown.path.empty() ? Presence::kUnknown : Presence::kMissing;
      return program;
    }
  }
  if (program.presence != Presence::kPresent) return program;

  std::wstring name = Lowered(LastComponent(program.path));
  if (name == L"rundll32.exe" || name == L"rundll32") {
    std::wstring dll = Trimmed(args);
    size_t comma = dll.find(L',');
    if (comma != std::wstring::npos) dll = dll.substr(0, comma);
    dll = Unquoted(dll);
    if (dll.empty() || dll.find_first_of(L"\"<>|*?") != std::wstring::npos) return unknown;
    Target t = FileOrName(dll, wow64, {}, false);
    if (t.presence == Presence::kMissing && !HasExtension(dll)) {
      Target withDll = FileOrName(dll + L".dll", wow64, {}, false);
      if (withDll.presence != Presence::kMissing) return withDll;
    }
    return t;
  }
  return program;
}

std::wstring MissingText(const wchar_t* what, const Target& target) {
  return std::wstring(what) + L" not found: " + target.path;
}

}  // namespace hivescrub

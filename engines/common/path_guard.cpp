#include "engines/common/path_guard.h"

#include <windows.h>
#include <shlobj.h>

#include "engines/common/shell_folders.h"

namespace cleaning {
namespace {

const size_t kLongestPath = 32767;
const int kMostAliasHops = 8;  // a substituted drive may name another; a loop is no path
const size_t kWalkPattern = 4;  // "\*.*" the walk appends to a folder it lists

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWith(const std::wstring& s, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  return s.size() >= n && s.compare(0, n, prefix) == 0;
}

// "X:\" or "\\server\share" with both names present.
bool IsAbsolute(const std::wstring& path) {
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') return true;
  if (path.size() < 5 || path[0] != L'\\' || path[1] != L'\\' || path[2] == L'\\') return false;
  size_t server = path.find(L'\\', 2);
  return server != std::wstring::npos && server + 1 < path.size() && path[server + 1] != L'\\';
}

bool FullPath(const std::wstring& path, std::wstring* full) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int tries = 0; tries < 2; ++tries) {
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), &buffer[0], nullptr);
    if (n == 0 || n >= kLongestPath) return false;
    if (n < buffer.size()) {
      buffer.resize(n);
      *full = buffer;
      return true;
    }
    buffer.assign(n + 1, L'\0');
  }
  return false;
}

// Windows opens "name." and "name " as "name": every step loses its trailing dots and spaces, so
// that a path is judged as the file system will take it. False when a step is nothing else.
bool TrimSteps(std::wstring* path) {
  size_t root = RootLength(*path);
  std::wstring out = path->substr(0, root);
  size_t at = root;
  while (at <= path->size()) {
    size_t end = path->find(L'\\', at);
    if (end == std::wstring::npos) end = path->size();
    std::wstring step = path->substr(at, end - at);
    if (!step.empty()) {
      while (!step.empty() && (step.back() == L'.' || step.back() == L' ')) step.pop_back();
      if (step.empty()) return false;  // "...", " ": no folder at all
      if (out.empty() || out.back() != L'\\') out.push_back(L'\\');
      out += step;
    }
    if (end == path->size()) break;
    at = end + 1;
  }
  *path = out;
  return true;
}

// The path with its drive letter replaced by what the letter stands for, when it is a
// substituted drive ("\??\C:\folder") or a mapped network drive ("...;X:0000\server\share").
// False when the letter is a drive of its own.
bool ResolveAlias(const std::wstring& path, std::wstring* resolved) {
  if (path.size() < 3 || path[1] != L':') return false;
  wchar_t device[3] = {path[0], L':', L'\0'};
  std::wstring target(1024, L'\0');
  DWORD n = QueryDosDeviceW(device, &target[0], static_cast<DWORD>(target.size()));
  if (n == 0) return false;
  target.resize(wcslen(target.c_str()));
  std::wstring base;
  if (StartsWith(target, L"\\??\\UNC\\")) {
    base = L"\\" + target.substr(7);
  } else if (StartsWith(target, L"\\??\\") && target.size() >= 6 && target[5] == L':') {
    base = target.substr(4);
  } else {
    size_t mark = target.rfind(L';');
    if (mark == std::wstring::npos) return false;  // "\Device\HarddiskVolume1": a drive of its own
    size_t share = target.find(L'\\', mark);
    if (share == std::wstring::npos) return false;
    base = L"\\" + target.substr(share);
  }
  while (base.size() > 3 && base.back() == L'\\') base.pop_back();
  std::wstring rest = path.substr(2);
  if (!base.empty() && base.back() == L'\\' && !rest.empty() && rest[0] == L'\\') rest.erase(0, 1);
  *resolved = base + rest;
  return true;
}

// The long name of every step that exists; steps below the deepest existing folder stay as given.
std::wstring LongNames(const std::wstring& path) {
  const size_t root = RootLength(path);
  std::wstring head = path, tail;
  for (;;) {
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = GetLongPathNameW(head.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
    if (n >= buffer.size() && n < kLongestPath) {
      buffer.assign(n + 1, L'\0');
      n = GetLongPathNameW(head.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
    }
    if (n > 0 && n < buffer.size()) {
      buffer.resize(n);
      return buffer + tail;
    }
    size_t cut = head.rfind(L'\\');
    if (cut == std::wstring::npos || cut + 1 <= root) return path;
    tail = head.substr(cut) + tail;
    head.resize(cut);
  }
}

std::wstring Folded(const std::wstring& text) {
  std::wstring folded = text;
  if (!folded.empty()) CharUpperBuffW(&folded[0], static_cast<DWORD>(folded.size()));
  return folded;
}

DWORD Attributes(const std::wstring& canonical) {
  if (canonical.size() < MAX_PATH) return GetFileAttributesW(canonical.c_str());
  std::wstring raw = canonical[0] == L'\\' ? L"\\\\?\\UNC" + canonical.substr(1) : L"\\\\?\\" + canonical;
  return GetFileAttributesW(raw.c_str());
}

void AddCanonical(std::vector<std::wstring>* list, const std::wstring& path) {
  std::wstring canonical;
  if (!path.empty() && CanonicalPath(path, &canonical)) list->push_back(canonical);
}

void AddShellFolder(std::vector<std::wstring>* list, int csidl) {
  std::wstring path;
  if (SUCCEEDED(ShellFolderPath(csidl, &path))) AddCanonical(list, path);
}

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// The Downloads folder has no CSIDL; Vista and later name it by a known-folder id.
std::wstring DownloadsFolder(const std::wstring& profile) {
  using GetKnownFolderPath = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
  static const GUID kDownloads = {0x374DE290, 0x123F, 0x4565, {0x91, 0x64, 0x39, 0xC4, 0x92, 0x5E, 0x46, 0x7B}};
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  auto get = shell ? reinterpret_cast<GetKnownFolderPath>(reinterpret_cast<void*>(
                         GetProcAddress(shell, "SHGetKnownFolderPath")))
                   : nullptr;
  PWSTR found = nullptr;
  if (get && SUCCEEDED(get(kDownloads, 0, nullptr, &found)) && found) {
    std::wstring path = found;
    CoTaskMemFree(found);
    return path;
  }
  if (found) CoTaskMemFree(found);
  return profile.empty() ? std::wstring() : profile + L"\\Downloads";
}

}  // namespace

size_t RootLength(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 ? 3 : 2;
  if (path.size() < 2 || path[0] != L'\\' || path[1] != L'\\') return 0;
  size_t server = path.find(L'\\', 2);
  if (server == std::wstring::npos) return path.size();
  size_t share = path.find(L'\\', server + 1);
  return share == std::wstring::npos ? path.size() : share;
}

bool CanonicalPath(std::wstring_view input, std::wstring* canonical) {
  if (input.empty() || input.size() >= kLongestPath) return false;
  std::wstring path(input);
  if (path.find(L'\0') != std::wstring::npos) return false;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  // Device and raw forms skip the checks Windows makes of an ordinary path: never taken.
  if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\") || StartsWith(path, L"\\??\\")) return false;
  for (int hop = 0;; ++hop) {
    if (hop == kMostAliasHops || !IsAbsolute(path)) return false;
    std::wstring full;
    if (!FullPath(path, &full) || !IsAbsolute(full) || !TrimSteps(&full)) return false;
    std::wstring resolved;
    if (!ResolveAlias(full, &resolved)) {
      path = full;
      break;
    }
    path = resolved;
  }
  path = LongNames(path);
  if (!TrimSteps(&path) || !IsAbsolute(path)) return false;
  if (path[1] == L':') path[0] = static_cast<wchar_t>(towupper(path[0]));
  *canonical = path;
  return true;
}

bool WithinFolder(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (path.size() > folder.size() && folder.back() != L'\\' && path[folder.size()] != L'\\') return false;
  return Folded(path.substr(0, folder.size())) == Folded(folder);
}

bool PlainFoldersFrom(const std::wstring& canonical, size_t from) {
  size_t at = from < RootLength(canonical) ? RootLength(canonical) : from;
  while (at < canonical.size()) {
    size_t end = canonical.find(L'\\', at + 1);
    if (end == std::wstring::npos) end = canonical.size();
    DWORD attributes = Attributes(canonical.substr(0, end));
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return false;
    }
    at = end;
  }
  return true;
}

bool WalkReaches(const std::wstring& folder, const std::wstring& root) {
  return folder.size() + kWalkPattern < MAX_PATH && WithinFolder(folder, root) &&
         PlainFoldersFrom(folder, root.size());
}

PathGuard::PathGuard() {
  wchar_t windows[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !CanonicalPath(windows, &windows_)) windows_.clear();
  if (!windows_.empty()) protected_.push_back(windows_);
  std::vector<std::wstring> programs;
  AddShellFolder(&programs, CSIDL_PROGRAM_FILES);
  AddShellFolder(&programs, CSIDL_PROGRAM_FILESX86);
  AddCanonical(&programs, Environment(L"ProgramW6432"));
  AddCanonical(&programs, Environment(L"ProgramFiles"));
  AddCanonical(&programs, Environment(L"ProgramFiles(x86)"));
  protected_.insert(protected_.end(), programs.begin(), programs.end());
  AddShellFolder(&protected_, CSIDL_COMMON_APPDATA);
  std::wstring profile;
  std::vector<std::wstring> profiles;
  AddShellFolder(&profiles, CSIDL_PROFILE);
  AddCanonical(&profiles, Environment(L"USERPROFILE"));
  for (const std::wstring& home : profiles) {
    protected_.push_back(home);
    size_t cut = home.rfind(L'\\');
    if (cut != std::wstring::npos && cut >= RootLength(home)) protected_.push_back(home.substr(0, cut));  // Users
    if (profile.empty()) profile = home;
  }
  sealed_ = programs;
  for (int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO}) {
    AddShellFolder(&sealed_, csidl);
  }
  AddCanonical(&sealed_, DownloadsFolder(profile));
}

bool PathGuard::InProtected(const std::wstring& canonical) const {
  for (const std::wstring& folder : protected_) {
    if (WithinFolder(canonical, folder)) return true;
  }
  return false;
}

bool PathGuard::AcceptRoot(const std::wstring& root, const wchar_t* ownSystemFolder, std::wstring* canonical) const {
  std::wstring path;
  if (windows_.empty() || !CanonicalPath(root, &path)) return false;
  if (path.size() <= RootLength(path)) return false;  // a drive or a share itself
  for (const std::wstring& folder : protected_) {
    if (WithinFolder(folder, path)) return false;  // the folder itself, or above it
  }
  if (WithinFolder(path, windows_)) {
    if (!ownSystemFolder || Folded(path) != Folded(windows_ + L"\\" + ownSystemFolder)) return false;
  }
  for (const std::wstring& folder : sealed_) {
    if (WithinFolder(path, folder)) return false;
  }
  if (!PlainFoldersFrom(path, 0)) return false;
  *canonical = path;
  return true;
}

}  // namespace cleaning

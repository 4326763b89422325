// Tools.dll: the utility functions the program and the engines share.
#include "contracts/tools.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry.h"
#include "base/text.h"
#include "contracts/buffers.h"
#include "contracts/messages.h"
#include "file_size.h"

namespace {

// RtlGetVersion reports the true version whatever the program's manifest says; GetVersionEx on
// Windows 8.1 and later reports 6.2 to programs that do not declare themselves compatible.
bool TrueVersion(DWORD* major) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto fn = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                  : nullptr;
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (fn && fn(&info) == 0) {
    *major = info.dwMajorVersion;
    return true;
  }
  if (GetVersionExW(&info)) {
    *major = info.dwMajorVersion;
    return true;
  }
  return false;
}

// splitmix64 over a shared counter: lock-free, thread-safe and uniform enough for a coin toss.
uint64_t NextRandom() {
  static volatile LONG64 state = 0;
  static volatile LONG seeded = 0;
  if (InterlockedCompareExchange(&seeded, 1, 0) == 0) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    uint64_t seed = static_cast<uint64_t>(now.QuadPart) ^ (uint64_t(GetCurrentProcessId()) << 32) ^
                    GetTickCount();
    InterlockedExchange64(&state, static_cast<LONG64>(seed));
  }
  uint64_t z = static_cast<uint64_t>(InterlockedExchangeAdd64(&state, LONG64(0x9E3779B97F4A7C15ULL))) +
               0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// The form of path that names exactly its file. Windows opens "abc." and "abc " as "abc", so a
// name ending in a dot or a space, and a path too long for the ordinary form, are given in the
// "\\?\" form, which takes every character as it stands; its folder is made a full path first,
// since that form resolves no "." or ".." steps. Any other path is used as given.
std::wstring ExactPath(const wchar_t* path) {
  std::wstring given(path, base::LengthBounded(path, 32768));
  if (given.compare(0, 4, L"\\\\?\\") == 0) return given;
  size_t cut = given.find_last_of(L"\\/");
  bool trailing = given.back() == L'.' || given.back() == L' ';
  if ((!trailing && given.size() < MAX_PATH) || cut == std::wstring::npos || cut + 1 == given.size()) return given;
  std::wstring name = given.substr(cut + 1);
  if (name == L"." || name == L"..") return given;
  std::wstring folder = given.substr(0, cut + 1);
  std::wstring full(32768, L'\0');
  DWORD n = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
  if (n == 0 || n >= full.size()) return given;
  full.resize(n);
  if (full.back() != L'\\') full.push_back(L'\\');
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full + name;
  if (full.size() > 2 && full[0] == L'\\' && full[1] == L'\\' && full[2] != L'?' && full[2] != L'.') {
    return L"\\\\?\\UNC" + full.substr(1) + name;
  }
  return given;
}

}  // namespace

extern "C" {

int WINAPI CheckWindowsVersion(void) {
  return base::Guarded([&] {
    DWORD major = 0;
    if (!TrueVersion(&major)) return 0;
    return major >= 6 ? 6 : static_cast<int>(major);
  });
}

int WINAPI DeleteFileType(const wchar_t* path, int /*mode*/) {
  return base::Guarded([&] {
    if (!path || !*path) return 0;
    const std::wstring exact = ExactPath(path);
    path = exact.c_str();
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      SetFileAttributesW(path, attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    }
    if (DeleteFileW(path)) return 1;
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path, attributes);  // leave it as found
    return 0;
  });
}

int WINAPI GetRandNumber(void) {
  return base::Guarded([&] {
    // Rejection sampling keeps the ten outcomes exactly equally likely.
    const uint64_t kLimit = UINT64_MAX - UINT64_MAX % 10;
    uint64_t r;
    do {
      r = NextRandom();
    } while (r >= kLimit);
    return static_cast<int>(r % 10);
  });
}

int WINAPI GetNowShowTimeString(wchar_t* buffer) {
  return base::Guarded([&] {
    if (!buffer) return 0;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const wchar_t* text = now.wHour < 12 ? L"Good morning" : now.wHour < 18 ? L"Good afternoon" : L"Good evening";
    base::CopyBounded(buffer, contracts::kDateChars, text);
    return 1;
  });
}

int WINAPI LockMenu(HWND window, int flag) {
  return base::Guarded([&] {
    if (!window || !IsWindow(window)) return 0;
    // Pages pass their parent; the lock belongs to the top-level main window.
    HWND main = GetAncestor(window, GA_ROOT);
    if (!main) main = window;
    COPYDATASTRUCT data = {};
    data.dwData = flag ? report_kind::kMenuLock : report_kind::kMenuUnlock;
    SendMessageW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return 1;
  });
}

int WINAPI MakeFileSize(DWORD low, DWORD high, wchar_t* buffer) {
  return base::Guarded([&] {
    if (!buffer) return 0;
    uint64_t bytes = (uint64_t(high) << 32) | low;
    tools::FormatFileSize(bytes, buffer, contracts::kValueChars);
    return 1;
  });
}

int WINAPI CheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, const wchar_t* text) {
  return base::Guarded([&] {
    if (!subKey || !*subKey) return 0;
    base::UniqueKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
      return 0;
    }
    return base::WriteRegistryString(key.get(), valueName, text) ? 1 : 0;
  });
}

}  // extern "C"

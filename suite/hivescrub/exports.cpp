// Hivescrub.dll's exports: the fifteen category scans, the repair and the last-scan bookkeeping.
#include "contracts/hivescrub.h"

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry.h"
#include "base/scan_time.h"
#include "base/text.h"
#include "categories.h"
#include "contracts/buffers.h"
#include "repair.h"
#include "scan.h"

namespace {

const wchar_t kBookkeepingKey[] = L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Registry Cleaner";

// Both are guarded under the name of the export that calls them.
int RunScan(HWND window, int category, void (*scan)(hivescrub::Scan&), const char* where = __builtin_FUNCTION()) {
  return base::Guarded([&] {
    hivescrub::Scan s(window, category);
    if (s.Begin()) scan(s);
    return 1;
  }, 0, where);
}

int StoreNow(const wchar_t* value, std::wstring (*format)(const SYSTEMTIME&), const char* where = __builtin_FUNCTION()) {
  return base::Guarded([&] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    base::UniqueKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kBookkeepingKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS)
      return 0;
    return base::WriteRegistryString(key.get(), value, format(now).c_str()) ? 1 : 0;
  }, 0, where);
}

}  // namespace

extern "C" {

int WINAPI HivescrubScanActivex(HWND window) { return RunScan(window, 1, hivescrub::ScanActivex); }
int WINAPI HivescrubScanSoftware(HWND window) { return RunScan(window, 2, hivescrub::ScanSoftware); }
int WINAPI HivescrubScanSounds(HWND window) { return RunScan(window, 3, hivescrub::ScanSounds); }
int WINAPI HivescrubScanMRU(HWND window) { return RunScan(window, 4, hivescrub::ScanMru); }
int WINAPI HivescrubScanHelp(HWND window) { return RunScan(window, 5, hivescrub::ScanHelp); }
int WINAPI HivescrubScanShared(HWND window) { return RunScan(window, 6, hivescrub::ScanShared); }
int WINAPI HivescrubScanStartup(HWND window) { return RunScan(window, 7, hivescrub::ScanStartup); }
int WINAPI HivescrubScanPaths(HWND window) { return RunScan(window, 8, hivescrub::ScanPaths); }
int WINAPI HivescrubScanAssociations(HWND window) { return RunScan(window, 9, hivescrub::ScanAssociations); }
int WINAPI HivescrubScanServices(HWND window) { return RunScan(window, 10, hivescrub::ScanServices); }
int WINAPI HivescrubScanExtensions(HWND window) { return RunScan(window, 11, hivescrub::ScanExtensions); }
int WINAPI HivescrubScanFonts(HWND window) { return RunScan(window, 12, hivescrub::ScanFonts); }
int WINAPI HivescrubScanFolders(HWND window) { return RunScan(window, 13, hivescrub::ScanFolders); }
int WINAPI HivescrubScanObsolete(HWND window) { return RunScan(window, 14, hivescrub::ScanObsolete); }
int WINAPI HivescrubScanEmpty(HWND window) { return RunScan(window, 15, hivescrub::ScanEmpty); }

int WINAPI HivescrubRepair(int id, const wchar_t* text) {
  return base::Guarded([&] {
    switch (hivescrub::Repair(id, text)) {
      case hivescrub::RepairResult::kRepaired:
        return hivescrub::kRepaired;
      case hivescrub::RepairResult::kNoUndoFile:
        return hivescrub::kNoUndoFile;
      case hivescrub::RepairResult::kNotRepaired:
        break;
    }
    return hivescrub::kNotRepaired;
  });
}

int WINAPI HivescrubGetLastScanDate(wchar_t* buffer) {
  return base::Guarded([&] {
    if (!buffer) return 0;
    wchar_t date[contracts::kDateChars] = {};
    base::UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kBookkeepingKey, 0, KEY_QUERY_VALUE, key.receive()) == ERROR_SUCCESS)
      base::ReadRegistryString(key.get(), L"LastScanDate", date, contracts::kDateChars);
    base::CopyBounded(buffer, contracts::kDateChars, date[0] ? date : L"Not Scanned");
    return 1;
  });
}

int WINAPI HivescrubSetLastScanTime(void) { return StoreNow(L"LastScanTime", base::FormatScanTime); }
int WINAPI HivescrubSetLastScanDate(void) { return StoreNow(L"LastScanDate", base::FormatScanDate); }

}  // extern "C"

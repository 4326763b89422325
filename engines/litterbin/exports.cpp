// Litterbin.dll's exports: the bookkeeping of the "Junk File Cleaner", the scan of one drive and
// the deletion of one junk file.
#include "contracts/litterbin.h"

#include "base/export_guard.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "engines/common/bookkeeping.h"
#include "engines/common/clean_target.h"
#include "engines/common/reporter.h"
#include "engines/litterbin/junk_scan.h"
#include "engines/litterbin/recycle_bin.h"

namespace {
const cleaning::ScanBook kBook(L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Junk File Cleaner");
}  // namespace

extern "C" {

int WINAPI LitterbinCheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, int mode) {
  return base::Guarded([&] { return cleaning::GuardValue(subKey, valueName, mode) ? 1 : 0; });
}
int WINAPI LitterbinGetLastScanTime(wchar_t* out) { return kBook.AppendLastScanTime(out); }
int WINAPI LitterbinGetLastScanDate(wchar_t* out) { return kBook.AppendLastScanDate(out); }
int WINAPI LitterbinSetLastScanTime(void) { return kBook.StoreLastScanTime(); }
int WINAPI LitterbinSetLastScanDate(void) { return kBook.StoreLastScanDate(); }

int WINAPI LitterbinGetJunkFile(HWND window, const wchar_t* drive) {
  return base::Guarded([&] {
    cleaning::Reporter reporter(window, report_kind::kJunkItem);
    return static_cast<int>(litterbin::ScanDrive(reporter, drive));
  });
}

int WINAPI LitterbinCleanJunkFile(const wchar_t* name, const wchar_t* location, int mode) {
  return base::Guarded([&] {
    // "Recycle Bin" in a drive root is the drive's bin: no file of that name is ever reported.
    if (litterbin::NamesRecycleBin(name, location)) return litterbin::EmptyRecycleBin(location);
    // The scan reports files of drive roots only ("X:\...").
    if (!location || !location[0] || location[1] != L':' || location[2] != L'\\') return 0;
    cleaning::FileTarget target;
    if (!cleaning::CleanFileTarget(name, location, &target) || !litterbin::IsJunkNow(target)) return 0;
    return DeleteFileType(target.Path().c_str(), mode) == 1 ? 1 : 0;
  });
}

}  // extern "C"

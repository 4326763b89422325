#include "engines/litterbin/recycle_bin.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "engines/common/path_guard.h"

namespace litterbin {
namespace {

bool IsDriveRoot(const wchar_t* text) {
  if (!text) return false;
  wchar_t letter = text[0];
  bool isLetter = (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
  return isLetter && text[1] == L':' && text[2] == L'\\' && text[3] == L'\0';
}

// A fixed drive that is itself: its letter resolves to no other drive or folder.
bool RealFixedDrive(const std::wstring& root) {
  if (!IsDriveRoot(root.c_str()) || GetDriveTypeW(root.c_str()) != DRIVE_FIXED) return false;
  std::wstring canonical;
  return cleaning::CanonicalPath(root, &canonical) && canonical.size() == 3 &&
         canonical[0] == static_cast<wchar_t>(towupper(root[0]));
}

bool Query(const std::wstring& root, SHQUERYRBINFO* info) {
  *info = SHQUERYRBINFO();
  info->cbSize = sizeof(*info);
  return SUCCEEDED(SHQueryRecycleBinW(root.c_str(), info));
}

}  // namespace

const wchar_t kRecycleBinName[] = L"Recycle Bin";

bool ReportRecycleBin(cleaning::Reporter& reporter, const std::wstring& root) {
  SHQUERYRBINFO info;
  if (!RealFixedDrive(root) || !Query(root, &info) || info.i64NumItems <= 0) return true;
  uint64_t size = info.i64Size > 0 ? static_cast<uint64_t>(info.i64Size) : 0;
  return reporter.Progress(kRecycleBinName) && reporter.Item(kRecycleBinName, root + kRecycleBinName, size);
}

bool NamesRecycleBin(const wchar_t* name, const wchar_t* location) {
  return name && wcscmp(name, kRecycleBinName) == 0 && IsDriveRoot(location);
}

int EmptyRecycleBin(const wchar_t* root) {
  if (!IsDriveRoot(root) || !RealFixedDrive(root)) return 0;
  SHQUERYRBINFO info;
  if (!Query(root, &info) || info.i64NumItems <= 0) return 0;
  HRESULT hr = SHEmptyRecycleBinW(nullptr, root, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  return SUCCEEDED(hr) && Query(root, &info) && info.i64NumItems == 0 ? 1 : 0;
}

}  // namespace litterbin

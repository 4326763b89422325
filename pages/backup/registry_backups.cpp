#include "pages/backup/registry_backups.h"

#include <windows.h>

#include <algorithm>

#include "base/handles.h"
#include "base/scan_time.h"

namespace backup_pages {
namespace {

constexpr size_t kStampDigits = 14;

// The decimal number of count digits at text[at].
int Digits(const std::wstring& text, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - L'0');
  return value;
}

// The files of a backup folder that match "*.reg" (in any case, as the file system matches), in
// the order the folder lists them.
std::vector<std::wstring> RegFiles(const wchar_t* folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW((std::wstring(folder) + L"\\*.reg").c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileW(find.get(), &found));
  return names;
}

}  // namespace

bool BackupTitle(const std::wstring& file, std::wstring* title) {
  if (file.size() < kStampDigits) return false;
  for (size_t i = 0; i < kStampDigits; ++i)
    if (file[i] < L'0' || file[i] > L'9') return false;
  int year = Digits(file, 0, 4), month = Digits(file, 4, 2), day = Digits(file, 6, 2);
  int hour = Digits(file, 8, 2), minute = Digits(file, 10, 2), second = Digits(file, 12, 2);
  if (!base::ValidLocalTime(year, month, day, hour, minute, second)) return false;
  auto field = [](int value) { return static_cast<WORD>(value); };
  SYSTEMTIME local = {field(year), field(month), 0, field(day), field(hour), field(minute), field(second), 0};
  // The round trip refuses days the month does not have and fills in the day of the week.
  FILETIME instant;
  if (!SystemTimeToFileTime(&local, &instant) || !FileTimeToSystemTime(&instant, &local)) return false;
  *title = base::FormatScanDate(local);
  return !title->empty();
}

std::vector<RegistryBackup> ListRegistryBackups() {
  std::vector<RegistryBackup> backups;
  RegistryBackup first;
  for (std::wstring& name : RegFiles(L"Backup\\Registry\\FirstBackup")) {
    std::wstring title;
    if (BackupTitle(name, &title)) first = RegistryBackup{std::move(name), true, std::move(title)};
  }
  if (first.first) backups.push_back(std::move(first));
  std::vector<std::wstring> full = RegFiles(L"Backup\\Registry\\FullBackup");
  // Stamps sort as the times they stand for, whatever order the file system lists them in.
  std::sort(full.begin(), full.end());
  for (std::wstring& name : full) {
    std::wstring title;
    if (BackupTitle(name, &title)) backups.push_back(RegistryBackup{std::move(name), false, std::move(title)});
  }
  return backups;
}

}  // namespace backup_pages

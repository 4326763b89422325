// The name of a registry backup file: the local time the backup was started, as fourteen digits
// "%Y%m%d%H%M%S". The registry backup page reads the date back from these digits.
#pragma once
#include <windows.h>

#include <string>

namespace hivesafe {

// The stamp of the given local time; "" when it cannot be formatted.
std::wstring FormatBackupStamp(const SYSTEMTIME& local);
// The stamp of the present local time.
std::wstring BackupStampNow();

}  // namespace hivesafe

// The values the home page keeps about the last one-click check and cleaning, under
// HKEY_CURRENT_USER\Software\Lumaspan Software\KeepLumaspan. Each is a REG_SZ decimal number,
// written by the home page through the Tools library's CheckRegistryKey.
#pragma once

namespace home_settings {

constexpr wchar_t kKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";
constexpr wchar_t kSystemStatus[] = L"SystemStatus";
constexpr wchar_t kErrorNumber[] = L"ErrorNumber";
constexpr wchar_t kCleanNumber[] = L"CleanNumber";

// What the stored health score means.
constexpr int kStatusUnknown = -1;
constexpr int kStatusCleaned = 6;   // stored as 1000 after a cleaning
constexpr int kCleanedScore = 1000;

// The stored score as a status: 0-25 -> 0, 26-50 -> 1, 51-75 -> 2, 76-100 -> 3, 1000 -> 6,
// anything else -> -1.
int StatusFromScore(int score);

// -1 when the key or value is missing.
int ReadSystemStatus();
// 0 when the key or value is missing.
int ReadErrorNumber();
int ReadCleanNumber();

}  // namespace home_settings

// The application optimizer's settings, read from and written to the values Windows itself reads:
//   disk buffer    HKLM "SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management"
//                  "IoPageLockLimit", REG_DWORD bytes; position 0 is the value absent (Windows decides)
//   menu delay     HKCU "Control Panel\Desktop" "MenuShowDelay", milliseconds = position x 40
//   auto end tasks HKCU "Control Panel\Desktop" "AutoEndTasks", "0" or "1"
//   hung app       HKCU "Control Panel\Desktop" "HungAppTimeout", seconds 1-30 as milliseconds
//   wait to kill   HKCU "Control Panel\Desktop" "WaitToKillAppTimeout", seconds 1-10 as milliseconds
// A value that is missing, of the wrong type or size, or not a number reads as Windows' own default;
// numbers read outside a range are brought into it.
#pragma once
#include <string>

namespace taskbrisk {

constexpr int kPositions = 11;  // slider positions 0-10
constexpr int kMenuStepMs = 40;
constexpr int kSpeedMin = 1, kSpeedMax = 30;  // "HungAppTimeout", seconds
constexpr int kAutoMin = 1, kAutoMax = 10;    // "WaitToKillAppTimeout", seconds

extern const wchar_t kMemoryKey[];
extern const wchar_t kDesktopKey[];

int DiskBufferPosition();
bool SetDiskBufferPosition(int position);
std::wstring DiskBufferText(int position);  // "" outside 0-10

int MenuPosition();
bool SetMenuPosition(int position);  // also applied to the running session at once
std::wstring MenuText(int position);  // "" outside 0-10

int AutoEndTasks();
bool SetAutoEndTasks(int flag);

int HungAppSeconds();
bool SetHungAppSeconds(int seconds);
int WaitToKillSeconds();
bool SetWaitToKillSeconds(int seconds);

// The exact values of every setting (or their absence) and the running session's menu delay, kept
// in the process until Restore writes them back; true when each was read (Save) or written back.
bool SaveAll();
bool RestoreAll();

}  // namespace taskbrisk

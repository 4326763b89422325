// Cleaning without the window, on a schedule: one scheduled task of the user, "Lumaspan Automatic
// Cleaning", that runs LumaspanCmd.exe clean with the chosen cleaners, quietly, its report going to
// "Logs\" under the program folder (the console program keeps the last 30). The task is made through
// the system's Task Scheduler: ITaskService where the system has it (Vista on), the XP-era
// ITaskScheduler otherwise, both reached through COM at run time. The user's choice is kept under
// HKEY_CURRENT_USER\Software\Lumaspan Software\KeepLumaspan\Schedule; the task is what runs.
#pragma once
#include <string>

namespace options_page {

constexpr wchar_t kScheduleTaskName[] = L"Lumaspan Automatic Cleaning";
constexpr wchar_t kScheduleKey[] = L"Software\\Lumaspan Software\\KeepLumaspan\\Schedule";

enum class Frequency { kDaily = 0, kWeekly = 1, kAtLogon = 2 };

struct CleanSchedule {
  bool enabled = false;
  Frequency frequency = Frequency::kDaily;
  bool junk = true, traces = true, registry = false;
};

// Which scheduler interface to use; kAuto takes ITaskService when it can be made, and the XP one
// for a trigger ITaskService cannot make.
enum class SchedulerApi { kAuto, kTaskService, kTaskScheduler };

// The stored choice (the defaults when none is stored) and storing it.
CleanSchedule LoadSchedule();
bool StoreSchedule(const CleanSchedule& schedule);

// The console program's arguments the task runs with ("clean --junk --quiet --report ...").
std::wstring ScheduledArguments(const CleanSchedule& schedule, const std::wstring& programFolder);

// Registers the task (replacing one there is) when enabled with something to clean, removes it
// otherwise. programFolder holds LumaspanCmd.exe. False with a message on failure.
bool ApplySchedule(const CleanSchedule& schedule, const std::wstring& programFolder, SchedulerApi api,
                   std::wstring* error);
// Removes the task; true when it is gone (or was never there).
bool RemoveScheduledTask(SchedulerApi api);

// The registered task as the scheduler gives it back.
struct RegisteredTask {
  std::wstring program, arguments;
  Frequency frequency = Frequency::kDaily;
  bool actionKnown = false;   // the scheduler gave the program and arguments back
  bool triggerKnown = false;  // the scheduler told what the trigger is
};
// False when there is no such task (or the scheduler cannot be reached).
bool ReadScheduledTask(SchedulerApi api, RegisteredTask* task);

}  // namespace options_page

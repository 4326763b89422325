#include "cmd/command.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "base/exclusions.h"
#include "base/handles.h"
#include "base/scan_lock.h"
#include "base/scan_time.h"
#include "cmd/arguments.h"
#include "cmd/console.h"
#include "cmd/engine_run.h"
#include "cmd/run_report.h"
#include "pages/options/clean_schedule.h"

namespace cmd {
namespace {

std::atomic<bool> g_stop{false};
constexpr DWORD kProgressEveryMs = 1000;
constexpr size_t kLongestPath = MAX_PATH - 1;
constexpr size_t kProgressChars = 200;

base::UniqueHandle g_runEnded;  // set once the report is written; lives as long as the process
constexpr DWORD kCloseWaitMs = 4000;  // the system ends a closing console's process after about 5 s

BOOL WINAPI OnControl(DWORD event) {
  // Ctrl+C, Ctrl+Break: the scan ends at its next report, a clean before its next item; whatever
  // is under way finishes whole.
  g_stop = true;
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // A closed console, a logoff or a shutdown ends the process when this returns: the item under
  // way and the report get the moment the system allows.
  if (g_runEnded) WaitForSingleObject(g_runEnded.get(), kCloseWaitMs);
  return FALSE;
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text ? text : L"error " + std::to_wstring(error);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
    message.pop_back();
  return message;
}

std::wstring FolderOf(const std::wstring& path) {
  size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return std::wstring();
  return FolderOf(path);
}

std::wstring Stamp(const SYSTEMTIME& t) {
  wchar_t text[32];
  swprintf(text, 32, L"%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}

// Where the document goes, checked before anything is scanned: a full path no longer than a path
// may be, not a folder, not read-only; a "*" in its name made the run's time stamp.
bool ResolveReport(const std::wstring& given, const SYSTEMTIME& now, std::wstring* path, std::wstring* pattern,
                   std::wstring* error) {
  if (given.find_first_of(L"\"<>|?") != std::wstring::npos) {
    *error = L"the report's file name holds a character file names cannot: " + given;
    return false;
  }
  wchar_t full[kLongestPath + 2] = {};
  DWORD n = GetFullPathNameW(given.c_str(), kLongestPath + 2, full, nullptr);
  if (n == 0 || n > kLongestPath) {
    *error = L"the report's path is too long (at most " + std::to_wstring(kLongestPath) + L" characters)";
    return false;
  }
  std::wstring chosen = full;
  size_t star = chosen.find(L'*');
  if (star != std::wstring::npos) {
    if (chosen.find(L'*', star + 1) != std::wstring::npos || star < chosen.find_last_of(L"\\/")) {
      *error = L"a report name may hold one \"*\", in its file name only";
      return false;
    }
    *pattern = chosen;
    chosen.replace(star, 1, Stamp(now));
    if (chosen.size() > kLongestPath) {
      *error = L"the report's path is too long (at most " + std::to_wstring(kLongestPath) + L" characters)";
      return false;
    }
    CreateDirectoryW(FolderOf(chosen).c_str(), nullptr);  // the Logs folder of a first scheduled run
  }
  if (!chosen.empty() && (chosen.back() == L'\\' || chosen.back() == L'/')) {
    *error = L"the report must be a file, not a folder: " + chosen;
    return false;
  }
  DWORD attributes = GetFileAttributesW(chosen.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    *error = L"the report must be a file, not a folder: " + chosen;
    return false;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    *error = L"the report file is read-only: " + chosen;
    return false;
  }
  DWORD folder = GetFileAttributesW(FolderOf(chosen).c_str());
  if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY)) {
    *error = L"the report's folder does not exist: " + FolderOf(chosen);
    return false;
  }
  *path = chosen;
  return true;
}

// Writes the document whole, replacing what the file held.
bool WriteReport(HANDLE file, const std::wstring& document) {
  std::string bytes = Utf8(document);
  LARGE_INTEGER zero = {};
  DWORD written = 0;
  return SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
         WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && FlushFileBuffers(file);
}

int BadArguments(const Console& err, const std::wstring& message) {
  err.Write(L"LumaspanCmd: " + message + L"\n");
  err.Write(UsageText());
  return kExitBadArguments;
}

}  // namespace

void PruneReports(const std::wstring& pattern, size_t keep) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileW(find.get(), &data));
  if (names.size() <= keep) return;
  std::sort(names.begin(), names.end());
  const std::wstring folder = FolderOf(pattern);
  for (size_t i = 0; i + keep < names.size(); ++i) DeleteFileW((folder + L"\\" + names[i]).c_str());
}

int RunCommand(const std::vector<std::wstring>& args) {
  const Console out(STD_OUTPUT_HANDLE), err(STD_ERROR_HANDLE);
  Arguments a;
  std::wstring error;
  if (!ParseArguments(args, &a, &error)) return BadArguments(err, error);
  if (a.help) {
    out.Write(UsageText());
    return kExitDone;
  }
  if (a.unschedule) {
    if (options_page::RemoveScheduledTask(options_page::SchedulerApi::kAuto)) return kExitDone;
    err.Write(L"LumaspanCmd: the automatic cleaning task could not be removed\n");
    return kExitNotRemoved;
  }
  for (const std::wstring& drive : a.drives)
    if (GetDriveTypeW(drive.c_str()) != DRIVE_FIXED) return BadArguments(err, drive + L" is not a fixed drive");

  SYSTEMTIME now = {};
  GetLocalTime(&now);
  std::wstring reportPath, pattern;
  if (!a.report.empty() && !ResolveReport(a.report, now, &reportPath, &pattern, &error)) return BadArguments(err, error);

  // The engines work relative to the program's folder, as in the window (the registry cleaner's
  // undo files go to "Backup\Registry\Undo" there).
  std::wstring folder = ProgramFolder();
  if (folder.empty() || !SetCurrentDirectoryW(folder.c_str())) {
    err.Write(L"LumaspanCmd: cannot use the program's folder\n");
    return kExitNotRemoved;
  }

  base::ScanLock lock = base::ScanLock::TryTake();
  if (!lock.held()) {
    err.Write(L"LumaspanCmd: another Lumaspan scan or clean is running; try again when it has finished\n");
    return kExitBusy;
  }

  base::UniqueFile report;
  if (!reportPath.empty()) {
    report.reset(CreateFileW(reportPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!report) return BadArguments(err, L"cannot write the report " + reportPath + L": " + SystemMessage(GetLastError()));
  }

  // A process started in a new process group has Ctrl+C turned off until it asks for it.
  g_runEnded.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  SetConsoleCtrlHandler(nullptr, FALSE);
  SetConsoleCtrlHandler(&OnControl, TRUE);

  DWORD lastProgress = 0;
  bool anyProgress = false;
  Progress progress = [&](const std::wstring& text) {
    if (a.quiet) return;
    DWORD tick = GetTickCount();
    if (anyProgress && tick - lastProgress < kProgressEveryMs) return;
    anyProgress = true;
    lastProgress = tick;
    std::wstring line = text.size() > kProgressChars ? text.substr(0, kProgressChars) + L"..." : text;
    for (wchar_t& c : line)
      if (c < 0x20) c = L' ';
    err.Write((text.compare(0, 9, L"Cleaning ") == 0 ? L"" : L"Scanning: ") + line + L"\n");
  };

  RunSummary run;
  run.clean = a.clean;
  run.started = base::FormatScanTime(now);
  std::vector<Item> items;
  const base::ExclusionSet exclusions = base::ExclusionSet::Load();
  bool finished = Scan(a, exclusions, g_stop, progress, &items);
  if (finished && a.clean) finished = Clean(&items, g_stop, progress);
  lock.Release();

  run.stopped = !finished;
  bool failed = std::any_of(items.begin(), items.end(), [](const Item& i) { return i.state == State::kFailed; });
  run.exitCode = run.stopped ? kExitStopped : failed ? kExitNotRemoved : kExitDone;

  if (!a.quiet && !(a.json && reportPath.empty())) {
    std::wstring listing;
    for (const Item& item : items) listing += ItemLine(item, a.clean);
    out.Write(listing + TotalLine(items, run));
  }
  if (a.json && reportPath.empty()) out.Write(JsonDocument(items, run));
  for (const Item& item : items)
    if (item.state == State::kFailed)
      err.Write(L"LumaspanCmd: could not remove " + item.location + (item.kind == Kind::kJunk ? L"" : L" ") + item.name +
                L" (" + item.why + L")\n");
  if (run.stopped) err.Write(L"LumaspanCmd: stopped; nothing was left half-done\n");

  if (report) {
    if (!WriteReport(report.get(), a.json ? JsonDocument(items, run) : TextDocument(items, run)))
      err.Write(L"LumaspanCmd: the report " + reportPath + L" could not be written: " + SystemMessage(GetLastError()) + L"\n");
    report.reset();
    if (!pattern.empty()) PruneReports(pattern, kKeptReports);
  }
  if (g_runEnded) SetEvent(g_runEnded.get());
  return run.exitCode;
}

}  // namespace cmd

// The update check: the first line of the update file on the web site names the latest version;
// the check compares it with the running version as dotted numbers and says what it found. Each
// check runs on a worker of its own, and only one check runs at a time: a second click while one
// runs does nothing.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace options_page {

constexpr DWORD kUpdateDeadlineSeconds = 120;
// The automatic check waits this long after the home page appears, so that it never competes with
// the program's start.
constexpr UINT kQuietCheckDelayMs = 3000;

// The parts of a dotted version ("3.1.1.10079": two to four numbers of at most nine digits); false
// for anything else.
bool ParseVersion(const std::wstring& text, std::vector<unsigned long>& parts);

enum class UpdateAnswer {
  kNoConnection,  // the file could not be fetched
  kUnreadable,    // fetched, but its first line is not a version (an error page, an empty file)
  kNewer,         // a newer version than the running one exists
  kUpToDate,      // the running version is the latest, or newer
};

// Judges the update file's first line against the running version; latest receives the version
// the line names, without the blanks around it.
UpdateAnswer JudgeUpdateLine(const std::wstring& line, const wchar_t* running, std::wstring& latest);

struct UpdateRequest {
  HWND page = nullptr;  // owns the message that there is no connection
  HWND main = nullptr;  // owns the question and the other answers
  std::wstring url;
  std::wstring version;
  DWORD deadlineSeconds = kUpdateDeadlineSeconds;
  bool quiet = false;  // speak only when a newer version exists
  // Opens the web site after "Yes"; called on the check's worker.
  void (*openSite)(HWND owner) = nullptr;
};

// The update file's address: the "UpdateURL" setting when it names an http or https address,
// else the web site's.
std::wstring UpdateAddress();

// Opens the product's web site in the user's browser.
void OpenWebSite(HWND owner);

// Starts a check on a worker of its own; false (and nothing done) while another check runs.
bool StartUpdateCheck(const UpdateRequest& request);
bool UpdateCheckRunning();

// The automatic check: when the user asked for automatic checks, a quiet check owned by the main
// window.
void StartQuietUpdateCheck(HWND mainWindow);

}  // namespace options_page

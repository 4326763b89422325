// What the one-click scan is made of, apart from its windows: the six groups and their weights,
// the file types and browser settings it compares, the unsafe-control list, the tally of a scan
// and what it means for the computer's health, and the job its worker thread runs.
//
// The worker holds the page's window handle by value and its own copy of everything it reads (the
// groups chosen, the fixed drives, the control list), never a pointer into the page. Its own
// reports (group markers, ticks, file-association, browser and control rows) go through the same
// reply protocol as the engines', so the page pauses or stops it at its next report; nothing
// suspends or kills the thread.
#pragma once
#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pages/common/choices.h"
#include "pages/common/scan_job.h"

namespace one_click {

constexpr int kGroups = 6;
enum Group { kOverall = 0, kRegistry = 1, kJunk, kEvidence, kFileAssoc, kBrowser, kActiveX };
inline bool ValidGroup(int g) { return g >= kRegistry && g <= kActiveX; }

// Tab names by group ("Overall" at 0) and the groups' weights in the health score (sum 100).
extern const wchar_t* const kTabNames[kGroups + 1];
constexpr int kWeights[kGroups + 1] = {0, 30, 10, 20, 10, 10, 20};

// The file types and browser settings compared with their defaults, in the order scanned.
constexpr int kExtensionCount = 16;
constexpr int kBrowserSettingCount = 22;
extern const wchar_t* const kExtensions[kExtensionCount];
extern const wchar_t* const kBrowserSettings[kBrowserSettingCount];
// Evidence categories, and the trace group of each index: 0-32 the classic ones in groups 0-3, then
// those of Windows Vista to 11 (group 0) and of the Chromium-family browsers (groups 4-6).
constexpr int kEvidenceCategories = 53;
int TraceGroupOf(int index);

// One flag per group 1-6 (index 0 unused).
using Groups = std::array<int, kGroups + 1>;
inline Groups AllGroups() { return common_pages::AllChosen<Groups>(); }
inline int CountGroups(const Groups& groups) { return common_pages::CountChosen(groups); }

// A line of the unsafe-control list "{class identifier}=name".
struct Control {
  std::wstring clsid, name;
};
constexpr wchar_t kControlList[] = L"Data\\ActiveX.dat";
// Reads the list: UTF-16 with its byte-order mark, else UTF-8, else the ANSI code page; at most
// the first 4 MB. A line counts when it has a key before its first "=" (spaces around it
// trimmed); a key met before is skipped; each text is cut to 260 characters. A missing or
// unreadable file is an empty list.
std::vector<Control> ReadControlList(const wchar_t* path);

// The fixed drives whose free space can be queried, as "C:\" roots, A upward.
std::vector<std::wstring> FixedDrives();

// A report's fields: the text up to the terminator, never past cbData, split at its first two
// "|". False when the text lacks them.
struct Fields {
  std::wstring first, second, third;
};
bool SplitFields(const std::wstring& text, Fields* fields);

// What one scan found and how far it got, as the scan page shows it.
struct Tally {
  int selected = 0;  // groups chosen
  int finished = 0;  // groups ended
  std::array<int, kGroups + 1> found{};
  std::array<int, kGroups + 1> ticks{};
  std::array<int, kGroups + 1> divisor{0, 15, 0, kEvidenceCategories, kExtensionCount, kBrowserSettingCount, 0};
  std::array<bool, kGroups + 1> begun{};

  // ticks x 100 / divisor, at most 100; 0 without a divisor.
  int GroupPercent(int group) const;
  // finished x 100 / selected, at most 100.
  int WholePercent() const;
};

// 100 minus the weight of every group that found something or never began.
int HealthScore(const Tally& tally);
// The same for what is left after a repair: a group loses its weight when items remain unrepaired
// in it or it never began.
int HealthScoreLeft(const Tally& tally, const std::array<int, kGroups + 1>& remaining);

// The line of a group in the overall summary and its icon.
enum class SummaryIcon { kClean, kFound, kMessage };
struct SummaryLine {
  std::wstring text;
  SummaryIcon icon;
};
SummaryLine OverallLine(int group, bool selected, int found, bool begun);

// One text of the home page's status block.
struct StatusText {
  int x, y;
  COLORREF colour;
  std::wstring text;
};
// The status block for a stored score text (null when absent), the stored problem count and the
// last scan date.
std::vector<StatusText> StatusBlock(const wchar_t* storedScore, int errors, const std::wstring& lastScanDate);

// One scan of the chosen groups; the end message is the page's kHomeFinished (wParam: the serial).
class Job : public common_pages::ScanJob {
 public:
  // The junk files and traces the worker's relay hands on one at a time: pacedItems, those the
  // page pauses after, if any.
  Job(HWND page, const Groups& groups, std::vector<std::wstring> drives, std::vector<Control> controls,
      size_t pacedItems = 0);

  const Groups groups;
  const std::vector<std::wstring> drives;
  const std::vector<Control> controls;
  const size_t pacedItems;

 protected:
  void Run() override;
};

}  // namespace one_click

#include "pages/home_registry/one_click.h"


#include <algorithm>
#include <cwctype>
#include <set>

#include "base/handles.h"
#include "contracts/ctrlguard.h"
#include "contracts/hivescrub.h"
#include "contracts/litterbin.h"
#include "contracts/messages.h"
#include "pages/common/report_relay.h"
#include "contracts/report.h"
#include "contracts/tools.h"
#include "contracts/tracewipe.h"
#include "contracts/typemend.h"
#include "contracts/webmend.h"

namespace one_click {

const wchar_t* const kTabNames[kGroups + 1] = {L"Overall", L"Registry", L"Junk File", L"Evidence",
                                               L"FileAssoc", L"IE",      L"Bad ActiveX"};

const wchar_t* const kExtensions[kExtensionCount] = {L".txt", L".exe", L".com", L".pif", L".reg", L".bat",
                                                     L".scr", L".chm", L".hlp", L".ini", L".inf", L".vbs",
                                                     L".lnk", L".js",  L".cmd", L".scf"};

const wchar_t* const kBrowserSettings[kBrowserSettingCount] = {
    L"Start Page",
    L"Search Page",
    L"Default Page URL",
    L"Local Page",
    L"Search Bar",
    L"Default Search URL",
    L"Start Page (all users)",
    L"Search Page (all users)",
    L"Default Page URL (all users)",
    L"Local Page (all users)",
    L"Search Bar (all users)",
    L"Default Search URL (all users)",
    L"Customize Search (all users)",
    L"Search Assistant (all users)",
    L"Search URL",
    L"Search URL (all users)",
    L"Blank Page",
    L"Desktop Navigation Failure",
    L"Navigation Canceled",
    L"Navigation Failure",
    L"Offline Information",
    L"Post Not Cached"};

int TraceGroupOf(int index) {
  if (index < 12) return 0;
  if (index < 18) return 1;
  if (index < 25) return 2;
  if (index < 33) return 3;
  if (index < 38) return 0;
  if (index < 43) return 4;
  if (index < 48) return 5;
  return 6;
}

namespace {

constexpr DWORD kMaxListBytes = 4 * 1024 * 1024;
constexpr size_t kMaxText = 260;

std::wstring Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
  size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  const char* data = bytes.data() + skip;
  int size = static_cast<int>(bytes.size() - skip);
  if (size <= 0) return std::wstring();
  UINT codePage = CP_UTF8;
  int chars = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, data, size, nullptr, 0);
  if (chars <= 0) {
    codePage = CP_ACP;
    chars = MultiByteToWideChar(codePage, 0, data, size, nullptr, 0);
  }
  if (chars <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, data, size, &text[0], chars);
  return text;
}

std::wstring Trimmed(const std::wstring& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && iswspace(text[begin])) ++begin;
  while (end > begin && iswspace(text[end - 1])) --end;
  return text.substr(begin, std::min(end - begin, kMaxText));
}

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
  return text;
}

}  // namespace

std::vector<Control> ReadControlList(const wchar_t* path) {
  std::vector<Control> controls;
  base::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return controls;
  // As much as the file holds, within the limit: the list is read on every scan's start.
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return controls;
  const DWORD wanted = static_cast<DWORD>(std::min<LONGLONG>(size.QuadPart, kMaxListBytes));
  std::string bytes(wanted, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), &bytes[0], wanted, &read, nullptr)) return controls;
  bytes.resize(read);
  std::wstring text = Decode(bytes);
  std::set<std::wstring> seen;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    start = end + 1;
    size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    Control control{Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
    if (control.clsid.empty() || !seen.insert(Upper(control.clsid)).second) continue;
    controls.push_back(std::move(control));
  }
  return controls;
}

std::vector<std::wstring> FixedDrives() {
  std::vector<std::wstring> drives;
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
    ULARGE_INTEGER available, total, free;
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED && GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free))
      drives.push_back(root);
  }
  return drives;
}

bool SplitFields(const std::wstring& text, Fields* fields) {
  size_t p1 = text.find(L'|');
  if (p1 == std::wstring::npos) return false;
  size_t p2 = text.find(L'|', p1 + 1);
  if (p2 == std::wstring::npos) return false;
  fields->first = text.substr(0, p1);
  fields->second = text.substr(p1 + 1, p2 - p1 - 1);
  fields->third = text.substr(p2 + 1);
  return true;
}

int Tally::GroupPercent(int group) const {
  if (!ValidGroup(group) || divisor[group] <= 0) return 0;
  return std::min(100, ticks[group] * 100 / divisor[group]);
}

int Tally::WholePercent() const { return selected <= 0 ? 0 : std::min(100, finished * 100 / selected); }

int HealthScoreLeft(const Tally& tally, const std::array<int, kGroups + 1>& remaining) {
  int score = 100;
  for (int g = kRegistry; g <= kActiveX; ++g)
    if (remaining[g] != 0 || !tally.begun[g]) score -= kWeights[g];
  return score;
}

int HealthScore(const Tally& tally) { return HealthScoreLeft(tally, tally.found); }

SummaryLine OverallLine(int group, bool selected, int found, bool begun) {
  static const wchar_t* const kNoScan[] = {L"", L"Registry Cleaner", L"Junk File Cleaner", L"Evidence Cleaner",
                                           L"FileAssoc Repair", L"IE Repair", L"Bad ActiveX Repair"};
  static const wchar_t* const kFound[] = {L"",
                                          L" Registry problems found on your system.",
                                          L" Junk File found on your system.",
                                          L" Evidence files found on your system.",
                                          L" File Assoc problems found on your system.",
                                          L" Internet Explorer problems found on your system.",
                                          L" Bad ActiveX found on your system."};
  static const wchar_t* const kWhat[] = {L"",
                                         L"Registry problems",
                                         L"Junk File",
                                         L"Evidence files",
                                         L"File Assoc problems",
                                         L"Internet Explorer problems",
                                         L"Bad ActiveX"};
  if (!ValidGroup(group)) return SummaryLine{L"", SummaryIcon::kMessage};
  if (!selected) return SummaryLine{std::wstring(kNoScan[group]) + L" No Scan This time!", SummaryIcon::kMessage};
  if (found > 0) return SummaryLine{std::to_wstring(found) + kFound[group], SummaryIcon::kFound};
  if (begun) return SummaryLine{std::wstring(L"No ") + kWhat[group] + L" found on your system!", SummaryIcon::kClean};
  return SummaryLine{std::wstring(L"User Cancel Scan ") + kWhat[group] + L"!", SummaryIcon::kMessage};
}

std::vector<StatusText> StatusBlock(const wchar_t* storedScore, int errors, const std::wstring& lastScanDate) {
  constexpr COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(250, 0, 0), kLevel = RGB(245, 47, 12),
                     kProblems = RGB(192, 63, 5);
  bool known = storedScore && iswdigit(storedScore[0]);
  int score = known ? _wtoi(storedScore) : -1;
  if (score != 1000 && (score < 0 || score > 100)) {
    return {{128, 20, kRed, L"System Status is: Unknown"},
            {128, 52, kBlack, L"You need to scan your PC as soon as possible!"},
            {128, 67, kBlack, L"Please click \"One Click to Clean\" to scan,so can know your PC Health!"}};
  }
  std::vector<StatusText> block = {{128, 20, kBlack, L"Last PC's Health:"},
                                   {128, 52, kBlack, L"Last Scan Time:"},
                                   {212, 52, kBlack, lastScanDate}};
  if (score == 1000) {
    block.push_back({280, 20, kLevel, L"Excellent"});
    block.push_back({128, 68, kBlack, L"Your PC status is perfect. We suggest that you optimize your PC weekly "});
    block.push_back({128, 82, kBlack, L"to improve performance!"});
    return block;
  }
  const wchar_t* level = score <= 25 ? L"Bad" : score <= 50 ? L"Low" : score <= 75 ? L"Good" : L"Excellent";
  block.push_back({280, 20, kLevel, level});
  std::wstring count = L"( " + std::to_wstring(errors) + L" )Problems";
  block.push_back({128, 67, kProblems, count});
  block.push_back({128 + 6 * static_cast<int>(count.size()), 68, kProblems,
                   L" found not been fixed, Please repair as soon as possible!"});
  return block;
}

namespace {

class Worker {
 public:
  explicit Worker(Job& job) : job_(job) {}

  // The reports go through a relay on this thread (pages/common/report_relay.h): the controls'
  // ticks, the registry's problems and the progress reach the page in batches; the junk files and
  // traces the page pauses after, alone. The scan page lists rows and shows the examined text
  // four times a second, so batches ten times a second keep its bars moving and lose nothing.
  void Run() {
    constexpr DWORD kBatchMs = 100;
    common_pages::ReportRelay relay(job_.window(), {report_kind::kJunkItem, report_kind::kTraceItem}, job_.pacedItems,
                                      job_.stopFlag(), kBatchMs);
    to_ = relay.window();
    if (RunGroups()) relay.Flush();  // the job's end message follows
  }

 private:
  bool RunGroups() {
    using Step = bool (Worker::*)();
    const Step steps[kGroups + 1] = {nullptr,           &Worker::Registry,  &Worker::Junk,    &Worker::Evidence,
                                     &Worker::FileAssoc, &Worker::Browser, &Worker::ActiveX};
    for (int g = kRegistry; g <= kActiveX; ++g) {
      if (!job_.groups[g]) continue;
      if (!Marker(report_kind::kGroupBegunBase + 10 * g) || !(this->*steps[g])() ||
          !Marker(report_kind::kGroupFinished))
        return false;
    }
    return true;
  }

  bool GoOn() const { return !job_.stopped() && IsWindow(job_.window()); }
  bool Send(ULONG_PTR kind, const std::wstring& text) { return GoOn() && report::Send(to_, kind, text.c_str()); }
  bool Marker(ULONG_PTR kind) { return Send(kind, L"||"); }

  bool Registry() {
    for (int c = 1; c <= report_kind::kRegistryCategories; ++c) {
      if (!GoOn()) return false;
      hivescrub::kScans[c](to_);
    }
    return GoOn();
  }

  bool Junk() {
    for (const std::wstring& drive : job_.drives) {
      if (!Marker(report_kind::kJunkDriveTick)) return false;
      LitterbinGetJunkFile(to_, drive.c_str());
    }
    return GoOn();
  }

  bool Evidence() {
    for (int i = 0; i < kEvidenceCategories; ++i) {
      if (!GoOn()) return false;
      TracewipeGetEvidenceFile(to_, TraceGroupOf(i), 1, i);
      if (!Marker(report_kind::kTraceCategoryTick)) return false;
    }
    return true;
  }

  // Compares each setting with its default and reports those set to something else: progress,
  // item, tick. A setting with no value at all was never changed, so it is no problem to report.
  template <typename Compare, typename Current, typename Default>
  bool CompareAll(const wchar_t* const* names, int count, ULONG_PTR progress, Compare compare, Current current,
                  Default shipped) {
    for (int i = 0; i < count; ++i) {
      const wchar_t* name = names[i];
      if (!Send(progress, std::wstring(name) + L"||")) return false;
      wchar_t now[260] = {}, standard[260] = {};
      if (compare(name) == 0) {
        current(name, now);
        shipped(name, standard);
        now[259] = standard[259] = L'\0';
      }
      if (now[0] && !Send(progress + 1, std::wstring(name) + L"|" + now + L"|" + standard)) return false;
      if (!Marker(progress + 2)) return false;
    }
    return true;
  }

  // A type is reported when it opens nothing or a program that is not there, never because the
  // user chose another program that exists (TypemendCheck); an emptied association is reported.
  bool FileAssoc() {
    for (const wchar_t* name : kExtensions) {
      if (!Send(report_kind::kFileAssocProgress, std::wstring(name) + L"||")) return false;
      if (TypemendCheck(name) == 0) {
        wchar_t now[260] = {}, standard[260] = {};
        TypemendGetFileAssociation(name, now);
        TypemendGetDefaultFileAssociation(name, standard);
        now[259] = standard[259] = L'\0';
        if (!Send(report_kind::kFileAssocItem, std::wstring(name) + L"|" + now + L"|" + standard)) return false;
      }
      if (!Marker(report_kind::kFileAssocTick)) return false;
    }
    return true;
  }

  bool Browser() {
    return CompareAll(kBrowserSettings, kBrowserSettingCount, report_kind::kBrowserProgress, WebmendCompare,
                      WebmendGetSetting, WebmendDefaultSetting);
  }

  bool ActiveX() {
    for (const Control& control : job_.controls) {
      if (GetRandNumber() == 1 && !Send(report_kind::kActiveXProgress, control.clsid + L"||")) return false;
      if (CtrlguardStatus(control.clsid.c_str()) == 0 &&
          !Send(report_kind::kActiveXItem, control.clsid + L"|" + control.name + L"|UnLocked"))
        return false;
      if (!Marker(report_kind::kActiveXTick)) return false;
    }
    return true;
  }

  Job& job_;
  HWND to_ = nullptr;  // where every report goes: the relay
};

}  // namespace

Job::Job(HWND page, const Groups& groups, std::vector<std::wstring> drives, std::vector<Control> controls,
         size_t pacedItems)
    : ScanJob(page, page_msg::kHomeFinished),
      groups(groups),
      drives(std::move(drives)),
      controls(std::move(controls)),
      pacedItems(pacedItems) {}

void Job::Run() { Worker(*this).Run(); }

}  // namespace one_click

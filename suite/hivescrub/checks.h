// The kinds of problem the engine knows. Each check is one judgement used twice: by the scan, on
// every entry it walks, and by the repair, which judges the entry again before it changes anything.
// A check also knows where its entries live, so a repair text that points elsewhere is refused.
#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "finding.h"
#include "paths.h"

namespace hivescrub {

// State shared by the judgements of one scan or one repair: cached file and class lookups.
class Context {
 public:
  PathJudge& paths() { return paths_; }
  // Whether a class (ProgID, application or extension) is registered for the user or the machine.
  bool ClassExists(const std::wstring& name);

 private:
  PathJudge paths_;
  std::map<std::wstring, bool> classes_;
};

struct Check {
  int id;  // reported as the problem's id; the category is id / 100
  // Whether the entry lies where this check's entries live.
  bool (*InDomain)(const Entry& entry);
  // Judges the entry; key is the open key of the entry (for a value, the key holding it). Returns
  // true and fills finding when the entry is a problem.
  bool (*Judge)(Context& context, const Entry& entry, HKEY key, Finding* finding);
};

const Check* FindCheck(int id);

// Fills finding and returns true: the last step of every judgement that finds a problem.
inline bool Found(Finding* finding, Action action, const Entry& entry, std::wstring detail) {
  finding->action = action;
  finding->entry = entry;
  finding->detail = std::move(detail);
  return true;
}

// Check ids.
enum : int {
  kClsidServer = 101, kClsidAppId = 102, kTypeLib = 103,
  kSoftwareFolder = 201,
  kSound = 301,
  kMuiCache = 401, kOpenSaveMru = 402,
  kHelpFile = 501,
  kSharedDll = 601,
  kRunValue = 701,
  kAppPath = 801,
  kExtensionClass = 901, kOpenCommand = 902,
  kService = 1001,
  kFileExt = 1101,
  kFont = 1201,
  kInstallerFolder = 1301,
  kUninstall = 1401,
  kEmptyKey = 1501,
};

// The checks of each category, defined beside their scans.
extern const Check kClsidServerCheck, kClsidAppIdCheck, kTypeLibCheck, kSoftwareFolderCheck, kSoundCheck,
    kMuiCacheCheck, kOpenSaveMruCheck, kHelpFileCheck, kSharedDllCheck, kRunValueCheck, kAppPathCheck,
    kExtensionClassCheck, kOpenCommandCheck, kServiceCheck, kFileExtCheck, kFontCheck, kInstallerFolderCheck,
    kUninstallCheck, kEmptyKeyCheck;

}  // namespace hivescrub

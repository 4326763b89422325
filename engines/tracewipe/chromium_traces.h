// The traces of the Chromium-family browsers: Google Chrome, Microsoft Edge, and Brave, Vivaldi,
// Opera and Chromium. Each keeps a user-data folder of profiles: "Default", "Profile N", and any
// other its "Local State" lists (engines/tracewipe/local_state.h). A category takes whole files of
// each profile, never "Bookmarks", "Preferences", "Web Data" or anything else not listed here.
//
// A running browser keeps its files open (and its user-data folder's "lockfile" locked): a clean
// leaves every file of a running browser alone and says so.
#pragma once
#include <windows.h>

#include <string>

#include "engines/common/clean_target.h"
#include "engines/common/path_guard.h"
#include "engines/common/reporter.h"
#include "engines/tracewipe/file_traces.h"

namespace tracewipe {

enum class ChromiumTrace {
  History,    // "History", "Visited Links", "Top Sites", "Shortcuts", "Network Action Predictor", journals
  Cookies,    // "Network\Cookies" and the "Cookies" of older versions, with their journals
  Cache,      // every file below "Cache", "Code Cache" and "GPUCache"
  Sessions,   // every file below "Sessions", and "Current/Last Session/Tabs"
  Passwords,  // "Login Data", "Login Data For Account", with their journals
};

// The trace groups of the page: 4 Google Chrome, 5 Microsoft Edge, 6 the other browsers.
LONG ScanChromium(cleaning::Reporter& reporter, const DataFolders& folders, int group, ChromiumTrace trace);

// What a clean may do with a file.
enum class ChromiumVerdict {
  NotATrace,  // no scan of these browsers reports it now
  Trace,      // a trace of a browser that is not running
  Held,       // a trace of a running browser: left alone
};
ChromiumVerdict JudgeChromiumFile(const cleaning::PathGuard& guard, const DataFolders& folders,
                                  const cleaning::FileTarget& target);

}  // namespace tracewipe

// Litterbin's scan of one drive. A system drive (the Windows folder's, the Favorites folder's, or
// an alias of either) gets the folders where Windows, its error reporting and the browser leave
// junk, and, below the user's profile folder but outside the user's data folders, the files whose
// names mark them as junk; any other drive is walked whole, outside its protected folders, for
// such names. Every real fixed drive also gives its Recycle Bin, as one item.
#pragma once
#include <windows.h>

#include <string>

#include "engines/common/clean_target.h"
#include "engines/common/reporter.h"

namespace litterbin {

// Whether a file name marks a junk file: it ends with ".old", ".~de" or ".tmp", or begins with
// "~$", letter case ignored as the file system ignores it.
bool IsJunkName(const wchar_t* name, size_t length);

// Scans the drive root drive ("X:\"). Returns a status nobody reads: 0 once the drive was
// scanned, ERROR_INVALID_PARAMETER for a text that is not a drive root, ERROR_PATH_NOT_FOUND when
// the system drives are unknown (then nothing is walked: no drive may be pattern-walked unless it
// is known not to be a system drive), ERROR_ACCESS_DENIED for a drive that stands for a protected
// folder.
LONG ScanDrive(cleaning::Reporter& reporter, const wchar_t* drive);

// Whether a scan would report the file now: on a system drive it lies in one of the system
// drive's sources (each accepted by the guard) and meets that source's rule, or bears a junk name
// below the profile folder outside the fenced folders; elsewhere it bears a junk name, lies outside
// every protected folder and is reached through plain folders only.
bool IsJunkNow(const cleaning::FileTarget& target);

}  // namespace litterbin

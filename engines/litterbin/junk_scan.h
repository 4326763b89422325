// Litterbin's scan of one drive. A system drive (the Windows folder's, the Favorites folder's, or
// an alias of either) gets the four folders where Windows and the browser leave junk; any other
// drive is walked whole, outside its protected folders, for files whose names mark them as junk.
#pragma once
#include <windows.h>

#include <string>

#include "engines/common/clean_target.h"
#include "engines/common/reporter.h"

namespace litterbin {

// Whether a file name marks a junk file: it ends with ".old", ".~de", ".tmp" or ".tmpl", or begins
// with "~$". Case-sensitive.
bool IsJunkName(const wchar_t* name, size_t length);

// Scans the drive root drive ("X:\"). Returns a status nobody reads: 0 once the drive was
// scanned, ERROR_INVALID_PARAMETER for a text that is not a drive root, ERROR_PATH_NOT_FOUND when
// the system drives are unknown (then nothing is walked: no drive may be pattern-walked unless it
// is known not to be a system drive), ERROR_ACCESS_DENIED for a drive that stands for a protected
// folder.
LONG ScanDrive(cleaning::Reporter& reporter, const wchar_t* drive);

// Whether a scan would report the file now: on a system drive it lies in one of the four folders
// (each accepted by the guard); elsewhere it bears a junk name, lies outside every protected
// folder and is reached through plain folders only.
bool IsJunkNow(const cleaning::FileTarget& target);

}  // namespace litterbin

// Litterbin's scan of one drive. The system drive gets the four folders where Windows and the
// browser leave junk; any other drive is walked whole for files whose names mark them as junk.
#pragma once
#include <windows.h>

#include <string>

#include "engines/common/reporter.h"

namespace litterbin {

// Whether a file name marks a junk file: it ends with ".old", ".~de", ".tmp" or ".tmpl", or begins
// with "~$". Case-sensitive.
bool IsJunkName(const wchar_t* name, size_t length);

// The root ("C:\") of the system drive: the drive of the user's Favorites folder, or, when that
// folder has no path on a drive, the drive of the Windows folder. False when neither is known.
bool SystemDriveRoot(std::wstring* root);

// Whether two drive roots ("X:\") name the same drive; drive letters are not case-sensitive.
bool SameDrive(const std::wstring& a, const std::wstring& b);

// Scans the drive root drive ("X:\"). Returns a status nobody reads: 0 once the drive was
// scanned, ERROR_INVALID_PARAMETER for a text that is not a drive root, ERROR_PATH_NOT_FOUND when
// the system drive is unknown (then nothing is walked: no drive may be pattern-walked unless it is
// known not to be the system drive).
LONG ScanDrive(cleaning::Reporter& reporter, const wchar_t* drive);

}  // namespace litterbin

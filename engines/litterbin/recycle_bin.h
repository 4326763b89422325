// The Recycle Bin of a drive as one junk item: reported with the size of all it holds, emptied
// whole. Only a real fixed drive's bin counts: not one of a drive letter that stands for a folder
// or for another drive.
#pragma once
#include <string>

#include "engines/common/reporter.h"

namespace litterbin {

// The item's name, and its location as a scan reports it: the drive root followed by the name.
extern const wchar_t kRecycleBinName[];

// Reports the bin of the drive root ("X:\") when it holds anything. False when the receiver ended
// the scan.
bool ReportRecycleBin(cleaning::Reporter& reporter, const std::wstring& root);

// Whether a clean request names a drive's bin: the name exactly kRecycleBinName, the location
// exactly a drive root.
bool NamesRecycleBin(const wchar_t* name, const wchar_t* location);

// Empties the bin of the drive root, with no question, sound or progress. 1 when the bin held
// something and holds nothing afterwards, 0 otherwise (not a real fixed drive, already empty, or
// some file could not be removed).
int EmptyRecycleBin(const wchar_t* root);

}  // namespace litterbin

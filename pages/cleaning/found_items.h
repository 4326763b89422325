// What the cleaner pages keep of a scan: one item per trace or junk file reported, with the two
// texts a clean needs (name and location) and its size; and the texts the pages show for sizes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/exclusions.h"

namespace cleaning_pages {

struct FoundItem {
  std::wstring name;      // a registry value name or a file name
  std::wstring location;  // a key path beginning with "HKEY_CURRENT_USER", or a folder ending in "\"
  uint64_t size = 0;      // bytes
};

// Reads an item report "name|location|size". The size is the decimal number after the last "|".
// Of the ways to split the rest at a "|", the first that makes sense is taken: a location
// beginning with "HKEY_CURRENT_USER" is kept whole (a value name may hold "|"); otherwise the
// location must be a file's full path ending in a separator and the name, and is cut to its folder.
// Anything else (no separator, a size that is not a number, a path that does not end in the
// name) is refused: a row must never point at something the engine did not report.
bool ParseItemReport(std::wstring_view text, FoundItem* item);

// What "Ignore this item" keeps of an item: a file by its full path; a registry trace by its key
// and value name, as a registry exclusion of category 0 (no registry cleaner category).
bool IsRegistryItem(const FoundItem& item);
base::Exclusion ItemExclusion(const FoundItem& item);
// True when the set excludes the item: the file itself, a folder above it, or the registry trace.
bool IsExcluded(const base::ExclusionSet& set, const FoundItem& item);

// A byte count as the Tools library writes it ("1.50 KB").
std::wstring SizeText(uint64_t bytes);

// A drive's space: megabytes below 1 GiB, gigabytes from there, one decimal ("512.0 MB").
std::wstring DriveSpaceText(uint64_t bytes);

// a + b, held at the largest value instead of wrapping.
inline uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a + b < a ? UINT64_MAX : a + b; }

}  // namespace cleaning_pages

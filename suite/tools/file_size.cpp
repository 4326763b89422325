#include "file_size.h"

#include <cwchar>

#include "base/text.h"

namespace tools {

size_t FormatFileSize(uint64_t bytes, wchar_t* out, size_t capacity) {
  wchar_t text[64];
  if (bytes < 1024) {
    swprintf(text, 64, L"%u bytes", static_cast<unsigned>(bytes));
    return base::CopyBounded(out, capacity, text);
  }
  static const wchar_t* const kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
  int unit = 0;
  uint64_t scale = 1024;  // bytes per unit
  while (unit < 5 && bytes / scale >= 1024) {
    scale *= 1024;
    ++unit;
  }
  uint64_t whole = bytes / scale;
  uint64_t rest = bytes % scale;
  // Hundredths of the unit, truncated. rest * 100 fits 64 bits up to petabytes; for exabytes the
  // pair is scaled down first.
  uint64_t hundredths = scale <= (uint64_t(1) << 50) ? rest * 100 / scale : (rest >> 20) * 100 / (scale >> 20);
  if (whole < 10) {
    swprintf(text, 64, L"%u.%02u %ls", static_cast<unsigned>(whole), static_cast<unsigned>(hundredths),
             kUnits[unit]);
  } else if (whole < 100) {
    swprintf(text, 64, L"%u.%u %ls", static_cast<unsigned>(whole), static_cast<unsigned>(hundredths / 10),
             kUnits[unit]);
  } else {
    swprintf(text, 64, L"%llu %ls", static_cast<unsigned long long>(whole), kUnits[unit]);
  }
  return base::CopyBounded(out, capacity, text);
}

}  // namespace tools

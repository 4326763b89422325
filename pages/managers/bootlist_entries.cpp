#include "pages/managers/bootlist_entries.h"

#include <cwctype>

namespace bootlist_page {

std::wstring DecodeField(std::wstring_view field) {
  std::wstring out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == L'%' && i + 2 < field.size()) {
      wchar_t hi = field[i + 1], lo = static_cast<wchar_t>(std::towupper(field[i + 2]));
      if (hi == L'7' && lo == L'C') {
        out += L'|';
        i += 2;
        continue;
      }
      if (hi == L'2' && lo == L'5') {
        out += L'%';
        i += 2;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool ParseEntryReport(std::wstring_view text, StartupEntry* entry) {
  size_t first = text.find(L'|');
  size_t second = first == std::wstring_view::npos ? first : text.find(L'|', first + 1);
  if (second == std::wstring_view::npos) return false;
  std::wstring_view kind = text.substr(second + 1);
  if (kind.empty() || kind.size() > 2) return false;
  int number = 0;
  for (wchar_t c : kind) {
    if (c < L'0' || c > L'9') return false;
    number = number * 10 + (c - L'0');
  }
  if (number < 1) return false;
  entry->item = DecodeField(text.substr(0, first));
  entry->command = DecodeField(text.substr(first + 1, second - first - 1));
  entry->kind = number;
  return true;
}

}  // namespace bootlist_page

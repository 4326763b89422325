// The startup manager's entries as the page keeps them, read from Bootlist's reports
// "item|command line|kind", where "%7C" stands for a "|" and "%25" for a "%" inside the item and the
// command line.
#pragma once
#include <string>
#include <string_view>

namespace bootlist_page {

struct StartupEntry {
  std::wstring item;
  std::wstring command;
  int kind = 0;
  // What BootlistRemoveStartupList takes: the command line for a Startup-folder file, else the item.
  const std::wstring& RemovalKey() const { return kind == 2 ? command : item; }
};

// The field with "%7C" and "%25" (either case) decoded; any other "%" stays as it is.
std::wstring DecodeField(std::wstring_view field);

// Splits a report at its first two "|"; the kind must be a decimal number from 1 to 99. False (and
// entry untouched) for anything else.
bool ParseEntryReport(std::wstring_view text, StartupEntry* entry);

}  // namespace bootlist_page

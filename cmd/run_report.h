// What a run found and did, as the listing's lines, as a UTF-8 text document and as a JSON document
// (its schema is in docs/COMMAND_LINE.md).
#pragma once
#include <string>
#include <vector>

#include "cmd/engine_run.h"

namespace cmd {

struct RunSummary {
  bool clean = false;
  bool stopped = false;  // Ctrl+C: what was not reached is still only found
  std::wstring started;  // the local time the run began, "YYYY-MM-DD HH:MM:SS"
  int exitCode = 0;
};

// One line per item: kind, category, location, name, size in bytes, tab-separated; a clean adds
// "removed" or "not removed".
std::wstring ItemLine(const Item& item, bool clean);
// The closing line: how many items and bytes were found and, for a clean, removed.
std::wstring TotalLine(const std::vector<Item>& items, const RunSummary& run);

std::wstring TextDocument(const std::vector<Item>& items, const RunSummary& run);
std::wstring JsonDocument(const std::vector<Item>& items, const RunSummary& run);

// text quoted as a JSON string.
std::wstring JsonString(const std::wstring& text);

}  // namespace cmd

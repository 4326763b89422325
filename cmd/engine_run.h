// The scans and cleans of the console program, through the same DLL exports the cleaner pages
// call. The engines report as they do to a page: WM_COPYDATA sent to a window. Here that window is
// a message-only window of a worker thread that also makes the engine calls, so each report is a
// direct call; its reply is "stop" once the stop flag is set, and the engine ends at that report.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/exclusions.h"
#include "cmd/arguments.h"

namespace cmd {

enum class Kind { kJunk, kTrace, kRegistry };
enum class State { kFound, kRemoved, kFailed };

struct Item {
  Kind kind = Kind::kJunk;
  std::wstring category;  // the drive root, the trace category's or the registry category's name
  std::wstring location;  // a folder ending in "\", or a registry key's full path
  std::wstring name;      // the file, or the value ("" for a registry key itself)
  uint64_t size = 0;
  int registryCategory = 0;  // 1-15 for a registry problem
  int id = 0;                // a registry problem's id and repair text, given back unchanged
  std::wstring repair;
  State state = State::kFound;
  std::wstring why;  // why it was not removed
};

const wchar_t* KindWord(Kind kind);

// The fixed drives, as the junk page lists them ("C:\").
std::vector<std::wstring> FixedDrives();

// progress gets the engines' "what is being examined" texts, every one of them (the caller paces).
using Progress = std::function<void(const std::wstring&)>;

// Scans what the arguments select, leaving out what the exclusions exclude, recording each
// engine's last scan time as its page does. False when the stop flag ended it.
bool Scan(const Arguments& what, const base::ExclusionSet& exclusions, const std::atomic<bool>& stop,
          const Progress& progress, std::vector<Item>* items);

// Removes the found items in order, each judged again by its engine; stops before the next item
// once the stop flag is set (false then). Registry repairs stop when no undo file can be written.
bool Clean(std::vector<Item>* items, const std::atomic<bool>& stop, const Progress& progress);

}  // namespace cmd

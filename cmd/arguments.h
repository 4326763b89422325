// The console program's command line: a command (scan or clean), what to scan, where the run's
// document goes and how loud to be. Everything is checked before anything is scanned, so bad input
// changes nothing.
#pragma once
#include <string>
#include <vector>

namespace cmd {

struct Arguments {
  bool help = false;
  bool unschedule = false;  // "unschedule": remove the automatic cleaning task
  bool clean = false;      // "clean"; otherwise "scan"
  bool junk = false, traces = false, registry = false;
  std::vector<std::wstring> drives;  // junk: the drive roots ("C:\"); empty = every fixed drive
  std::vector<int> traceCategories;  // 0-32; empty = all
  std::vector<int> registryCategories;  // 1-15; empty = all
  std::wstring report;     // --report FILE ("" none); a "*" in the name is the run's time stamp
  bool json = false;
  bool quiet = false;
};

// Parses argv[1..]; false with a message for the user (one line, no usage) on bad input.
bool ParseArguments(const std::vector<std::wstring>& args, Arguments* out, std::wstring* error);

// The usage text, lines ending in "\n".
const wchar_t* UsageText();

}  // namespace cmd

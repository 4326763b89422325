// The console program as a whole: its arguments in, its exit code out.
#pragma once
#include <string>
#include <vector>

namespace cmd {

constexpr int kExitDone = 0;        // nothing found, or everything found removed
constexpr int kExitNotRemoved = 1;  // something could not be removed (named on stderr)
constexpr int kExitBadArguments = 2;
constexpr int kExitBusy = 3;        // another Lumaspan scan or clean is running
constexpr int kExitStopped = 4;     // Ctrl+C or Ctrl+Break: stopped at the next report

// Reports that a name pattern ("Logs\clean-*.txt") keeps.
constexpr size_t kKeptReports = 30;

int RunCommand(const std::vector<std::wstring>& args);

// Deletes the oldest files matching pattern (a full path with one "*") beyond the newest keep,
// oldest by name: the "*" stands for a time stamp that sorts by time.
void PruneReports(const std::wstring& pattern, size_t keep);

}  // namespace cmd

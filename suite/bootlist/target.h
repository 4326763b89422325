// What a start-up entry starts, for the startup manager's detail pane.
#pragma once
#include <string>

namespace bootlist {

struct EntryTarget {
  std::wstring starts;   // the command it starts: a shortcut's target and arguments, else the command line
  std::wstring program;  // the program file's full path, "" when there is none to show
};

// commandLine: as reported (for kind 2 the file's full path). A shortcut is read through the shell
// link interface; a command line is judged as the registry cleaner judges paths (quotes and
// arguments stripped, environment strings expanded, bare names searched where Windows finds them).
EntryTarget ResolveEntry(int kind, const std::wstring& commandLine);

}  // namespace bootlist

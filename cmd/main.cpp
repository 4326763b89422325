// LumaspanCmd.exe: scans and cleans without the window (see cmd/arguments.cpp for the usage).
#include <windows.h>

#include <string>
#include <vector>

#include "cmd/command.h"

int wmain(int, wchar_t**) {
  // The arguments as the system split the command line, letters beyond ASCII intact.
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.push_back(argv[i]);
  if (argv) LocalFree(argv);
  try {
    return cmd::RunCommand(args);
  } catch (...) {
    return cmd::kExitNotRemoved;
  }
}

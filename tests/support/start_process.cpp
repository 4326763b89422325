#include "tests/support/start_process.h"

#include <cstdio>

namespace test {

BOOL StartProcess(const wchar_t* application, wchar_t* commandLine, BOOL inheritHandles, DWORD flags,
                  const wchar_t* currentDirectory, STARTUPINFOW* startup, PROCESS_INFORMATION* process) {
  for (int tries = 0;; ++tries) {
    if (CreateProcessW(application, commandLine, nullptr, nullptr, inheritHandles, flags, nullptr, currentDirectory,
                       startup, process))
      return TRUE;
    DWORD error = GetLastError();
    // A program that is not there, or a command line that is wrong, fails the same way again.
    if (tries == 2 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      SetLastError(error);
      return FALSE;
    }
    std::fprintf(stderr, "a process did not start (error %lu); started again\n", error);
    Sleep(200);
  }
}

}  // namespace test

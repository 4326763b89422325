// Starting a program from a test. Wine now and then fails to start a process at all (about once in
// a few thousand starts on a busy machine); that is not the test's failure, so such a start is
// tried again, at most twice, and said on stderr. A program that started is never started again.
#pragma once
#include <windows.h>

namespace test {

// CreateProcessW with that rule; its arguments and result.
BOOL StartProcess(const wchar_t* application, wchar_t* commandLine, BOOL inheritHandles, DWORD flags,
                  const wchar_t* currentDirectory, STARTUPINFOW* startup, PROCESS_INFORMATION* process);

}  // namespace test

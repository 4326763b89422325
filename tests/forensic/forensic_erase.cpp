// Erases each file named on the command line as the shredder page does, and says what came back.
// Exit code 0 only when every file was erased.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "contracts/erasemill.h"

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) {
    std::fprintf(stderr, "usage: forensic_erase <path>...\n");
    return 2;
  }
  int failed = 0;
  for (int i = 1; i < count; ++i) {
    const int result = ErasemillKillFile(args[i], 3);
    std::printf("ErasemillKillFile(argument %d) = %d\n", i, result);
    if (result != ERASEMILL_ERASED) ++failed;
  }
  LocalFree(args);
  return failed == 0 ? 0 : 1;
}

// Erasemill.dll: the export the file shredder page calls.
#include "contracts/erasemill.h"

#include "suite/erasemill/kill_file.h"

extern "C" int WINAPI ErasemillKillFile(const wchar_t* path, int mode) {
  try {
    return erasemill::KillFile(path, mode);
  } catch (...) {
    return ERASEMILL_FAILED;
  }
}

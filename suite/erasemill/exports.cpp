// Erasemill.dll: the export the file shredder page calls.
#include "contracts/erasemill.h"

#include "base/export_guard.h"
#include "suite/erasemill/kill_file.h"

extern "C" int WINAPI ErasemillKillFile(const wchar_t* path, int mode) {
  return base::Guarded([&] { return erasemill::KillFile(path, mode); }, ERASEMILL_FAILED);
}

// Taskbrisk.dll: the exports. Setters return 1 when the setting was written, 0 when it was refused
// (a value out of range, a key that cannot be written); nothing is thrown past them.
#include "contracts/taskbrisk.h"

#include "base/export_guard.h"
#include "base/text.h"
#include "contracts/buffers.h"
#include "suite/taskbrisk/settings.h"

namespace {

int Text(const std::wstring& text, wchar_t* buffer) {
  if (!buffer || text.empty()) return 0;
  base::CopyBounded(buffer, contracts::kValueChars, text.c_str());
  return 1;
}

}  // namespace

extern "C" {

int WINAPI TaskbriskGetDiskBuffer(void) { return base::Guarded([] { return taskbrisk::DiskBufferPosition(); }); }
int WINAPI TaskbriskSetDiskBuffer(int position) {
  return base::Guarded([=] { return taskbrisk::SetDiskBufferPosition(position) ? 1 : 0; });
}
int WINAPI TaskbriskGetMenuTime(void) { return base::Guarded([] { return taskbrisk::MenuPosition(); }); }
int WINAPI TaskbriskSetMenuTime(int position) {
  return base::Guarded([=] { return taskbrisk::SetMenuPosition(position) ? 1 : 0; });
}
int WINAPI TaskbriskGetAutoEndTasks(void) { return base::Guarded([] { return taskbrisk::AutoEndTasks(); }); }
int WINAPI TaskbriskSetAutoEndTasks(int flag) {
  return base::Guarded([=] { return taskbrisk::SetAutoEndTasks(flag) ? 1 : 0; });
}
int WINAPI TaskbriskGetSpeed(void) { return base::Guarded([] { return taskbrisk::HungAppSeconds(); }); }
int WINAPI TaskbriskSetSpeed(int value) {
  return base::Guarded([=] { return taskbrisk::SetHungAppSeconds(value) ? 1 : 0; });
}
int WINAPI TaskbriskGetAuto(void) { return base::Guarded([] { return taskbrisk::WaitToKillSeconds(); }); }
int WINAPI TaskbriskSetAuto(int value) {
  return base::Guarded([=] { return taskbrisk::SetWaitToKillSeconds(value) ? 1 : 0; });
}
int WINAPI TaskbriskGetDiskBufferString(int position, wchar_t* buffer) {
  return base::Guarded([=] { return Text(taskbrisk::DiskBufferText(position), buffer); });
}
int WINAPI TaskbriskGetMenuTimeString(int position, wchar_t* buffer) {
  return base::Guarded([=] { return Text(taskbrisk::MenuText(position), buffer); });
}

int WINAPI TaskbriskSaveSettings(void) { return base::Guarded([] { return taskbrisk::SaveAll() ? 1 : 0; }); }
int WINAPI TaskbriskRestoreSettings(void) { return base::Guarded([] { return taskbrisk::RestoreAll() ? 1 : 0; }); }

}  // extern "C"

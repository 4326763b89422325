// Corebrisk.dll: the system optimizer's six service-configuration models (0-5).
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Records the start type of every Win32 service the first time it runs on a machine; later calls
// keep that record, whatever changed since: "Windows Default" always gives back to it. 1 when the
// record is there.
int WINAPI CorebriskInitRegistry(void);
// The model applied last, 0-5 (0 before any); -1 when the stored number is damaged.
int WINAPI CorebriskGetType(void);
// Puts back every service changed before, then applies the model's table (model 0: nothing more),
// all or nothing. 1 when every change was made; 0 when one was refused (or the model is not 0-5)
// and every service is as it was before the call; -1 when even putting them back was refused.
int WINAPI CorebriskLoadFile(int model);
// "0" to "5": records the model applied last. Anything else is refused (0).
int WINAPI CorebriskSetType(const wchar_t* model);

// The suite's own tests: replaces the table of model 1-5 for this process with
// "name=3|name=4|..." (3 manual, 4 disabled). The protected services stay untouched whatever the
// table says. 0 for a malformed table, which changes nothing.
int WINAPI CorebriskSetModelTable(int model, const wchar_t* table);

#ifdef __cplusplus
}
#endif

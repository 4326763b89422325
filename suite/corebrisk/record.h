// The optimizer's record under HKEY_LOCAL_MACHINE, "SOFTWARE\Lumaspan Software\KeepLumaspan\System
// Optimizer" (the machine's 64-bit view, shared by 32- and 64-bit builds):
//   "Recorded"        REG_DWORD 1 once every service's configuration has been recorded
//   "Model"           REG_DWORD the model applied last
//   Start Types\      one REG_DWORD per service: its start type before any model changed it
//   Delayed Start\    one REG_DWORD 0/1 per service where the system tells (Vista and later)
//   Changed\          one value per service a model has changed and "Windows Default" gives back
// Values of the wrong type or size read as missing: a damaged entry is never used.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "suite/corebrisk/services.h"

namespace corebrisk {

extern const wchar_t kRecordKey[];

class Record {
 public:
  // Opens (creating it when asked) the record's key; false when it cannot be reached.
  bool Open(bool create);

  bool Complete() const;
  bool MarkComplete();

  // The model applied last: 0 when none is stored, -1 when the stored value is damaged.
  int Model() const;
  bool SetModel(int model);

  // A service's configuration before any model changed it. False when missing or damaged (a start
  // type a Win32 service cannot have).
  bool ReadOriginal(const std::wstring& name, ServiceConfig* config) const;
  bool SaveOriginal(const std::wstring& name, const ServiceConfig& config);

  std::vector<std::wstring> Changed() const;
  bool MarkChanged(const std::wstring& name);
  bool ForgetChanged(const std::wstring& name);

 private:
  bool ReadDword(const wchar_t* sub, const wchar_t* name, DWORD* value) const;
  bool WriteDword(const wchar_t* sub, const wchar_t* name, DWORD value);
  base::UniqueKey key_;
};

}  // namespace corebrisk

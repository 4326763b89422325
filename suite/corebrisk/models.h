// The system optimizer's models: for each audience, the services it turns to manual start or off,
// and the services no model ever touches. Model 0 ("Windows Default") has no table: it only gives
// back what the others changed.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace corebrisk {

constexpr int kModelCount = 6;  // 0 "Windows Default", 1-5 the audiences

struct ModelService {
  const wchar_t* name;     // the service's key name
  const wchar_t* display;  // as the page's description lists it
  DWORD startType;         // SERVICE_DEMAND_START or SERVICE_DISABLED
};

struct ModelTable {
  const ModelService* services;
  size_t count;
};

// The built-in table of model 0-5 (model 0 and numbers outside 0-5: empty).
ModelTable BuiltInTable(int model);

struct ProtectedService {
  const wchar_t* name;
  const wchar_t* reason;
};

// The services no model changes, each with the reason.
const ProtectedService* ProtectedServices(size_t* count);
bool IsProtected(const std::wstring& name);

}  // namespace corebrisk

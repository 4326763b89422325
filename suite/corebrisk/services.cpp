#include "suite/corebrisk/services.h"

#include <cstdint>

namespace corebrisk {
namespace {

// Declared by the Vista SDK headers, which this build (Windows XP and later) does not see.
constexpr DWORD kConfigDelayedAutoStart = 3;  // SERVICE_CONFIG_DELAYED_AUTO_START_INFO
struct DelayedAutoStartInfo {
  BOOL delayed;
};

// Service names are at most 256 characters; anything longer is not one.
constexpr size_t kMaxServiceName = 256;

}  // namespace

bool ServiceManager::Open() {
  manager_.reset(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
  return manager_.valid();
}

std::vector<std::wstring> ServiceManager::Win32Services() const {
  std::vector<std::wstring> names;
  if (!manager_) return names;
  DWORD resume = 0;
  std::vector<BYTE> buffer(64 * 1024);
  for (;;) {
    DWORD needed = 0, returned = 0;
    BOOL ok = EnumServicesStatusExW(manager_.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                                    buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &returned, &resume,
                                    nullptr);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (!ok && error != ERROR_MORE_DATA) return names;
    auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
      const wchar_t* name = entries[i].lpServiceName;
      if (name && *name && wcsnlen(name, kMaxServiceName + 1) <= kMaxServiceName) names.emplace_back(name);
    }
    if (ok) return names;
    // More to come: a larger buffer when the next entry did not fit at all, else the next chunk.
    if (returned == 0) {
      if (needed <= buffer.size() || needed > 16 * 1024 * 1024) return names;
      buffer.resize(needed);
    }
  }
}

Outcome ServiceManager::Access(const std::wstring& name, DWORD access, UniqueService* service) const {
  if (!manager_ || name.empty() || name.size() > kMaxServiceName) return Outcome::kFailed;
  service->reset(OpenServiceW(manager_.get(), name.c_str(), access));
  if (*service) return Outcome::kDone;
  DWORD error = GetLastError();
  return error == ERROR_SERVICE_DOES_NOT_EXIST || error == ERROR_INVALID_NAME ? Outcome::kAbsent
                                                                              : Outcome::kFailed;
}

Outcome ServiceManager::Read(const std::wstring& name, ServiceConfig* config) const {
  UniqueService service;
  Outcome opened = Access(name, SERVICE_QUERY_CONFIG, &service);
  if (opened != Outcome::kDone) return opened;
  DWORD needed = 0;
  QueryServiceConfigW(service.get(), nullptr, 0, &needed);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed < sizeof(QUERY_SERVICE_CONFIGW) || needed > 64 * 1024)
    return Outcome::kFailed;
  std::vector<uint64_t> buffer((needed + sizeof(uint64_t) - 1) / sizeof(uint64_t));  // aligned
  auto* query = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  if (!QueryServiceConfigW(service.get(), query, needed, &needed)) return Outcome::kFailed;
  config->startType = query->dwStartType;
  config->delayed = Delayed::kUnknown;
  DelayedAutoStartInfo info = {};
  DWORD size = 0;
  if (QueryServiceConfig2W(service.get(), kConfigDelayedAutoStart, reinterpret_cast<BYTE*>(&info), sizeof(info),
                           &size))
    config->delayed = info.delayed ? Delayed::kYes : Delayed::kNo;
  return Outcome::kDone;
}

Outcome ServiceManager::SetStartType(const std::wstring& name, DWORD startType) const {
  UniqueService service;
  Outcome opened = Access(name, SERVICE_CHANGE_CONFIG, &service);
  if (opened != Outcome::kDone) return opened;
  BOOL ok = ChangeServiceConfigW(service.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr);
  return ok ? Outcome::kDone : Outcome::kFailed;
}

bool ServiceManager::SetDelayed(const std::wstring& name, bool delayed) const {
  UniqueService service;
  if (Access(name, SERVICE_CHANGE_CONFIG, &service) != Outcome::kDone) return false;
  DelayedAutoStartInfo info = {delayed ? TRUE : FALSE};
  return ChangeServiceConfig2W(service.get(), kConfigDelayedAutoStart, &info) != FALSE;
}

}  // namespace corebrisk

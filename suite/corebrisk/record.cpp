#include "suite/corebrisk/record.h"

namespace corebrisk {

const wchar_t kRecordKey[] = L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\System Optimizer";

namespace {

const wchar_t kStartTypes[] = L"Start Types";
const wchar_t kDelayedStart[] = L"Delayed Start";
const wchar_t kChanged[] = L"Changed";
const wchar_t kRecorded[] = L"Recorded";
const wchar_t kModel[] = L"Model";
constexpr DWORD kView = KEY_WOW64_64KEY;

}  // namespace

bool Record::Open(bool create) {
  REGSAM access = KEY_READ | KEY_WRITE | kView;
  LONG rc = create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRecordKey, 0, nullptr, 0, access, nullptr, key_.receive(),
                                     nullptr)
                   : RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRecordKey, 0, access, key_.receive());
  return rc == ERROR_SUCCESS;
}

bool Record::ReadDword(const wchar_t* sub, const wchar_t* name, DWORD* value) const {
  if (!key_) return false;
  base::UniqueKey child;
  HKEY from = key_.get();
  if (sub) {
    if (RegOpenKeyExW(key_.get(), sub, 0, KEY_QUERY_VALUE | kView, child.receive()) != ERROR_SUCCESS) return false;
    from = child.get();
  }
  DWORD type = 0, data = 0, bytes = sizeof(data);
  if (RegQueryValueExW(from, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes) != ERROR_SUCCESS)
    return false;
  if (type != REG_DWORD || bytes != sizeof(data)) return false;
  *value = data;
  return true;
}

bool Record::WriteDword(const wchar_t* sub, const wchar_t* name, DWORD value) {
  if (!key_) return false;
  base::UniqueKey child;
  HKEY to = key_.get();
  if (sub) {
    if (RegCreateKeyExW(key_.get(), sub, 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr, child.receive(), nullptr) !=
        ERROR_SUCCESS)
      return false;
    to = child.get();
  }
  return RegSetValueExW(to, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
         ERROR_SUCCESS;
}

bool Record::Complete() const {
  DWORD recorded = 0;
  return ReadDword(nullptr, kRecorded, &recorded) && recorded == 1;
}

bool Record::MarkComplete() { return WriteDword(nullptr, kRecorded, 1); }

int Record::Model() const {
  DWORD model = 0;
  if (!ReadDword(nullptr, kModel, &model)) {
    DWORD type = 0;
    bool present = key_ && RegQueryValueExW(key_.get(), kModel, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
    return present ? -1 : 0;
  }
  return model <= 5 ? static_cast<int>(model) : -1;
}

bool Record::SetModel(int model) { return model >= 0 && model <= 5 && WriteDword(nullptr, kModel, DWORD(model)); }

bool Record::ReadOriginal(const std::wstring& name, ServiceConfig* config) const {
  DWORD start = 0;
  // A Win32 service starts automatically, on demand or not at all.
  if (!ReadDword(kStartTypes, name.c_str(), &start) || start < SERVICE_AUTO_START || start > SERVICE_DISABLED)
    return false;
  config->startType = start;
  DWORD delayed = 0;
  config->delayed = !ReadDword(kDelayedStart, name.c_str(), &delayed) || delayed > 1 ? Delayed::kUnknown
                    : delayed                                                    ? Delayed::kYes
                                                                                 : Delayed::kNo;
  return true;
}

bool Record::SaveOriginal(const std::wstring& name, const ServiceConfig& config) {
  if (!WriteDword(kStartTypes, name.c_str(), config.startType)) return false;
  if (config.delayed == Delayed::kUnknown) return true;
  return WriteDword(kDelayedStart, name.c_str(), config.delayed == Delayed::kYes ? 1 : 0);
}

std::vector<std::wstring> Record::Changed() const {
  std::vector<std::wstring> names;
  base::UniqueKey changed;
  if (!key_ || RegOpenKeyExW(key_.get(), kChanged, 0, KEY_QUERY_VALUE | kView, changed.receive()) != ERROR_SUCCESS)
    return names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[258] = {};  // a service name, its terminator and one more: longer names are no services
    DWORD chars = 258;
    LONG rc = RegEnumValueW(changed.get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS || chars == 0 || chars > 256) continue;
    names.emplace_back(name, chars);
  }
  return names;
}

bool Record::MarkChanged(const std::wstring& name) { return WriteDword(kChanged, name.c_str(), 1); }

bool Record::ForgetChanged(const std::wstring& name) {
  base::UniqueKey changed;
  if (!key_ || RegOpenKeyExW(key_.get(), kChanged, 0, KEY_SET_VALUE | kView, changed.receive()) != ERROR_SUCCESS)
    return false;
  LONG rc = RegDeleteValueW(changed.get(), name.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace corebrisk

#include "tests/cleaning/seeded.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "base/handles.h"
#include "contracts/messages.h"
#include "tests/support/scratch.h"
#include "tests/support/start_process.h"

namespace cleaning_test {
namespace {

const wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

template <typename Saved>
Saved SaveValue(const wchar_t* key, const std::wstring& name) {
  Saved saved;
  base::UniqueKey k;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, k.receive()) != ERROR_SUCCESS) return saved;
  DWORD bytes = 0;
  if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &saved.type, nullptr, &bytes) != ERROR_SUCCESS) return saved;
  saved.data.resize(bytes);
  if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &saved.type, saved.data.data(), &bytes) == ERROR_SUCCESS) {
    saved.existed = true;
    saved.data.resize(bytes);
  }
  return saved;
}

template <typename Saved>
void RestoreValue(const wchar_t* key, const std::wstring& name, const Saved& saved) {
  base::UniqueKey k;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.receive(), nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  if (saved.existed) {
    RegSetValueExW(k.get(), name.c_str(), 0, saved.type, saved.data.data(), static_cast<DWORD>(saved.data.size()));
  } else {
    RegDeleteValueW(k.get(), name.c_str());
  }
}

void SetText(const wchar_t* key, const std::wstring& name, const std::wstring& text, DWORD type) {
  base::UniqueKey k;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           k.receive(), nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(k.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

}  // namespace

SeededFiles::SeededFiles(std::wstring folder) : folder_(std::move(folder)) {
  while (folder_.size() > 3 && folder_.back() == L'\\') folder_.pop_back();
  MakeFoldersTo(folder_);
}

SeededFiles::~SeededFiles() {
  for (const std::wstring& file : files_) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
  }
  for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryW(it->c_str());
}

void SeededFiles::MakeFoldersTo(const std::wstring& path) {
  if (path.size() <= 3 || Exists(path)) return;
  size_t cut = path.find_last_of(L'\\');
  if (cut != std::wstring::npos) MakeFoldersTo(path.substr(0, cut));
  if (CreateDirectoryW(path.c_str(), nullptr)) folders_.push_back(path);
}

std::wstring SeededFiles::Write(const std::wstring& relative, const std::string& content) {
  std::wstring full = folder_ + L"\\" + relative;
  MakeFoldersTo(full.substr(0, full.find_last_of(L'\\')));
  bool existed = Exists(full);
  EXPECT_TRUE(test::WriteFile(full, content)) << "cannot write the seed file";
  if (!existed) files_.push_back(full);
  return full;
}

std::wstring SeededFiles::MakeFolder(const std::wstring& relative) {
  std::wstring full = folder_ + L"\\" + relative;
  MakeFoldersTo(full);
  return full;
}

ShellFolderOverride::ShellFolderOverride(const wchar_t* name, const std::wstring& path) : name_(name) {
  user_ = SaveValue<Saved>(kUserShellFolders, name_);
  shell_ = SaveValue<Saved>(kShellFolders, name_);
  SetText(kUserShellFolders, name_, path, REG_EXPAND_SZ);
  SetText(kShellFolders, name_, path, REG_SZ);
}

ShellFolderOverride::~ShellFolderOverride() {
  RestoreValue(kUserShellFolders, name_, user_);
  RestoreValue(kShellFolders, name_, shell_);
}

HeldFile::HeldFile(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr));
  base::UniqueFile nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                   0, nullptr));
  HANDLE read = nullptr, write = nullptr;
  if (!file || !nul || !CreatePipe(&read, &write, &inherit, 0)) return;
  base::UniqueHandle readEnd(read);
  input_ = write;
  SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {sizeof(startup)};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = read;
  startup.hStdOutput = nul.get();
  startup.hStdError = nul.get();
  std::wstring command = L"cmd.exe /q";
  PROCESS_INFORMATION info = {};
  // Detached: no console host is started, which would inherit the file too and outlive the holder.
  if (!test::StartProcess(nullptr, &command[0], TRUE, DETACHED_PROCESS, L"C:\\", &startup, &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
}

HeldFile::~HeldFile() {
  if (input_) CloseHandle(input_);
  if (process_) {
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    CloseHandle(process_);
  }
}

std::wstring ItemText(const std::wstring& name, const std::wstring& location, uint64_t size) {
  return name + L"|" + location + L"|" + std::to_wstring(size);
}

std::vector<std::wstring> FileItems(const test::ReportRecorder& recorder, ULONG_PTR itemKind) {
  std::vector<std::wstring> items;
  const std::vector<test::Report>& reports = recorder.reports();
  for (size_t i = 0; i < reports.size(); ++i) {
    const test::Report& r = reports[i];
    EXPECT_TRUE(r.terminated) << "a report without its terminator";
    EXPECT_EQ((r.text.size() + 1) * sizeof(wchar_t), r.bytes);
    if (r.kind != itemKind) continue;
    items.push_back(r.text);
    // Progress is thinned out, but the scan's first object is always shown before its first item.
    if (items.size() == 1) {
      EXPECT_TRUE(reports[0].kind == report_kind::kCleanProgress && i > 0) << "no progress report before the first item";
    }
  }
  return items;
}

void ExpectRegistryReports(const ReportPairs& expected, const test::ReportRecorder& recorder) {
  std::vector<std::wstring> items;
  for (const auto& pair : expected) items.push_back(pair.second);
  std::vector<std::wstring> found = recorder.TextsOfKind(report_kind::kTraceItem);
  EXPECT_EQ(Sorted(items), Sorted(found));
  const std::vector<test::Report>& reports = recorder.reports();
  if (expected.empty() || found.empty()) return;
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(report_kind::kCleanProgress, reports[0].kind);
  for (const auto& pair : expected) {
    if (pair.second == found[0]) {
      EXPECT_EQ(pair.first, reports[0].text) << "the first object examined";
    }
  }
  for (const std::wstring& text : recorder.TextsOfKind(report_kind::kCleanProgress)) {
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [&](const auto& pair) { return pair.first == text; }))
        << "a progress text of no item";
  }
}

std::vector<std::wstring> Added(const std::vector<std::wstring>& before, const std::vector<std::wstring>& after) {
  std::map<std::wstring, int> seen;
  for (const std::wstring& s : before) ++seen[s];
  std::vector<std::wstring> added;
  for (const std::wstring& s : after) {
    if (seen[s] > 0) {
      --seen[s];
    } else {
      added.push_back(s);
    }
  }
  return added;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::wstring ItemName(const std::wstring& itemText) { return itemText.substr(0, itemText.find(L'|')); }

std::wstring PageLocation(const std::wstring& itemText) {
  size_t first = itemText.find(L'|');
  size_t second = itemText.find(L'|', first + 1);
  std::wstring location = itemText.substr(first + 1, second - first - 1);
  std::wstring shortened = location.substr(0, location.size() >= first ? location.size() - first : 0);
  return shortened.compare(0, 17, L"HKEY_CURRENT_USER") == 0 ? location : shortened;
}

std::wstring TemporaryFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring path(temp, length <= MAX_PATH ? length : 0);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

namespace {
bool ReadVariable(const wchar_t* name, std::wstring* value) {
  wchar_t buffer[32768];
  DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
  if (n == 0 || n >= 32768) return false;
  value->assign(buffer, n);
  return true;
}
}  // namespace

TemporaryFolderOverride::TemporaryFolderOverride(const std::wstring& path) {
  hadTmp_ = ReadVariable(L"TMP", &tmp_);
  hadTemp_ = ReadVariable(L"TEMP", &temp_);
  SetEnvironmentVariableW(L"TMP", path.empty() ? nullptr : path.c_str());
  SetEnvironmentVariableW(L"TEMP", path.empty() ? nullptr : path.c_str());
}

TemporaryFolderOverride::~TemporaryFolderOverride() {
  SetEnvironmentVariableW(L"TMP", hadTmp_ ? tmp_.c_str() : nullptr);
  SetEnvironmentVariableW(L"TEMP", hadTemp_ ? temp_.c_str() : nullptr);
}

bool RunningAsXp() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.size() > 7 && _wcsicmp(p.c_str() + p.size() - 7, L"_xp.exe") == 0;
}

bool PrivateRecycleBin(std::string* why) {
  wchar_t home[1024] = {}, dataHome[8] = {};
  DWORD n = GetEnvironmentVariableW(L"WINEHOMEDIR", home, 1024);
  std::wstring text(home, n < 1024 ? n : 0);
  const std::wstring privateHome = L"\\build\\winehome";
  if (GetEnvironmentVariableW(L"XDG_DATA_HOME", dataHome, 8) > 0) {
    *why = "XDG_DATA_HOME is set: Wine's bin would lie outside the build tree";
  } else if (text.size() < privateHome.size() ||
             text.compare(text.size() - privateHome.size(), privateHome.size(), privateHome) != 0) {
    *why = "the bin is not the build tree's private one (WINEHOMEDIR is not <build>/winehome)";
  } else {
    return true;
  }
  std::fprintf(stderr, "SKIPPED: Recycle Bin left alone: %s\n", why->c_str());
  return false;
}

bool Recycle(const std::wstring& path) {
  std::wstring from = path;
  from.push_back(L'\0');  // the list ends with two
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return SHFileOperationW(&op) == 0 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace cleaning_test

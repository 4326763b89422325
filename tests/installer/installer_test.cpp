// LumaspanSetup.exe and the uninstaller it writes, run silently as an administrator would, into a
// scratch folder of the test prefix.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <string>

#include "base/handles.h"
#include "pages/options/clean_schedule.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"
#include "tests/support/start_process.h"

namespace {

const wchar_t kSetup[] = L"C:\\LumaspanTests\\LumaspanSetup.exe";
const wchar_t kStaged[] = L"C:\\Lumaspan";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaspan";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kSettingsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";
const wchar_t kKeptBackup[] = L"Backup\\Registry\\FullBackup\\20260101120000.reg";

// Runs a command line and waits for it; its exit code, or -1 when it did not start.
int RunAndWait(const std::wstring& command) {
  std::wstring line = command;
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION process = {};
  if (!test::StartProcess(nullptr, &line[0], FALSE, 0, nullptr, &startup, &process)) return -1;
  base::UniqueHandle owned(process.hProcess), thread(process.hThread);
  WaitForSingleObject(process.hProcess, 120000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return static_cast<int>(code);
}

// Every file and folder below root, as relative paths ("Res\Common\theme.ini").
void Collect(const std::wstring& root, const std::wstring& relative, std::set<std::wstring>& out) {
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((root + L"\\" + relative + L"*").c_str(), &data));
  if (!find) return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    out.insert(relative + name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Collect(root, relative + name + L"\\", out);
  } while (FindNextFileW(find.get(), &data));
}
std::set<std::wstring> Tree(const std::wstring& root) {
  std::set<std::wstring> out;
  Collect(root, L"", out);
  return out;
}

std::wstring ShortcutFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::wstring(path) + L"\\Lumaspan";
}

// The target of a shortcut file.
std::wstring ShortcutTarget(const std::wstring& link) {
  std::wstring target;
  IShellLinkW* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell)))) {
    return target;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0))) {
      target = path;
    }
    file->Release();
  }
  shell->Release();
  return target;
}

DWORD ReadDword(HKEY root, const std::wstring& path, const wchar_t* name) {
  std::vector<BYTE> raw = test::ReadRaw(root, path, name);
  DWORD value = 0xFFFFFFFF;
  if (raw.size() == sizeof(value)) memcpy(&value, raw.data(), sizeof(value));
  return value;
}

// The FileVersion text of a binary's version resource.
std::wstring FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<BYTE> data(size);
  wchar_t* text = nullptr;
  UINT length = 0;
  if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\FileVersion", reinterpret_cast<void**>(&text),
                      &length)) {
    return std::wstring();
  }
  return std::wstring(text, wcsnlen(text, length));
}

struct WindowSearch {
  DWORD process;
  HWND found;
};
BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (owner == search->process && IsWindowVisible(window) && std::wstring(title) == L"KeepLumaspan") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

class Setup : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::FileExists(kSetup)) << "the build made no setup";
    CoInitialize(nullptr);
    folder_ = scratch_ / L"Program Files\\Lumaspan";
  }
  void TearDown() override {
    // Whatever a failed case left behind.
    std::wstring links = ShortcutFolder();
    DeleteFileW((links + L"\\Lumaspan.lnk").c_str());
    DeleteFileW((links + L"\\Uninstall Lumaspan.lnk").c_str());
    RemoveDirectoryW(links.c_str());
    CoUninitialize();
  }
  int Install() { return RunAndWait(std::wstring(L"\"") + kSetup + L"\" /S /D=" + folder_); }
  // The uninstaller copies itself away and returns at once; it is done once it has removed itself.
  bool Uninstall() {
    if (RunAndWait(L"\"" + folder_ + L"\\Uninstall.exe\" /S") != 0) return false;
    for (int i = 0; i < 1200 && test::FileExists(folder_ + L"\\Uninstall.exe"); ++i) Sleep(50);
    for (int i = 0; i < 200 && test::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); ++i) Sleep(50);
    return !test::FileExists(folder_ + L"\\Uninstall.exe");
  }

  test::RegistrySandbox uninstall_{HKEY_LOCAL_MACHINE, kUninstallKey};
  test::RegistrySandbox run_{HKEY_CURRENT_USER, kRunKey};
  test::RegistrySandbox settings_{HKEY_CURRENT_USER, kSettingsKey};
  test::ScratchFolder scratch_;
  std::wstring folder_;
};

TEST_F(Setup, SilentInstallPutsEveryStagedFileInPlaceAndRegistersIt) {
  ASSERT_EQ(0, Install());
  std::set<std::wstring> installed = Tree(folder_);
  for (const std::wstring& entry : Tree(kStaged)) EXPECT_TRUE(installed.count(entry)) << entry.c_str();
  EXPECT_TRUE(installed.count(L"Backup\\Favorites\\Internet Explorer"));
  EXPECT_TRUE(installed.count(L"Uninstall.exe"));
  EXPECT_EQ(L"3.1.1.10079", FileVersion(kSetup));
  EXPECT_EQ(L"3.1.1.10079", FileVersion(folder_ + L"\\Uninstall.exe"));

  EXPECT_EQ(L"Lumaspan", test::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"));
  EXPECT_EQ(L"3.1.1.10079", test::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"));
  EXPECT_EQ(L"Lumaspan Software", test::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"));
  EXPECT_EQ(folder_ + L"\\Lumaspan.exe,0", test::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"));
  EXPECT_EQ(folder_, test::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"));
  EXPECT_EQ(L"\"" + folder_ + L"\\Uninstall.exe\"",
            test::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"));
  EXPECT_EQ(1u, ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify"));
  EXPECT_EQ(1u, ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoRepair"));
  DWORD size = ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize");
  EXPECT_GT(size, 100u);  // kilobytes: the program and its DLLs
  EXPECT_NE(0xFFFFFFFFu, size);

  std::wstring links = ShortcutFolder();
  EXPECT_EQ(folder_ + L"\\Lumaspan.exe", ShortcutTarget(links + L"\\Lumaspan.lnk"));
  EXPECT_EQ(folder_ + L"\\Uninstall.exe", ShortcutTarget(links + L"\\Uninstall Lumaspan.lnk"));

  // The installed program starts and shows its main window.
  std::wstring line = L"\"" + folder_ + L"\\Lumaspan.exe\"";
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(test::StartProcess(nullptr, &line[0], FALSE, 0, L"C:\\", &startup, &process));
  base::UniqueHandle owned(process.hProcess), thread(process.hThread);
  WindowSearch search = {process.dwProcessId, nullptr};
  for (int i = 0; i < 600 && !search.found; ++i) {
    Sleep(50);
    EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
  }
  ASSERT_TRUE(search.found);
  PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 60000));
  ASSERT_TRUE(Uninstall());
}

TEST_F(Setup, UpgradeKeepsBackupsAndSilentUninstallLeavesOnlyThem) {
  ASSERT_EQ(0, Install());
  ASSERT_TRUE(test::WriteFile(folder_ + L"\\" + kKeptBackup, "REGEDIT4\r\n"));
  DeleteFileW((folder_ + L"\\Tools.dll").c_str());  // a damaged installation
  ASSERT_EQ(0, Install());
  EXPECT_TRUE(test::FileExists(folder_ + L"\\" + kKeptBackup));
  EXPECT_TRUE(test::FileExists(folder_ + L"\\Tools.dll"));

  run_.SetString(L"", L"Lumaspan", L"\"" + folder_ + L"\\Lumaspan.exe\"");
  settings_.SetDword(L"", L"LiveUpdate", 1);
  // The automatic cleaning the options page set up, with a report in the program's Logs folder.
  options_page::CleanSchedule weekly;
  weekly.enabled = true;
  weekly.frequency = options_page::Frequency::kWeekly;
  std::wstring error;
  ASSERT_TRUE(options_page::ApplySchedule(weekly, folder_, options_page::SchedulerApi::kAuto, &error));
  ASSERT_TRUE(test::WriteFile(folder_ + L"\\Logs\\clean-20260101-120000.txt", "Lumaspan clean\r\n"));
  ASSERT_TRUE(Uninstall());
  options_page::RegisteredTask task;
  EXPECT_FALSE(options_page::ReadScheduledTask(options_page::SchedulerApi::kAuto, &task));
  std::set<std::wstring> left = Tree(folder_);
  for (const std::wstring& entry : left) {
    EXPECT_EQ(0u, entry.rfind(L"Backup", 0)) << entry.c_str();
  }
  EXPECT_TRUE(left.count(kKeptBackup));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunKey, L"Lumaspan"));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kSettingsKey));
  EXPECT_FALSE(test::FolderExists(ShortcutFolder()));
}

}  // namespace

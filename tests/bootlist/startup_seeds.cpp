#include "tests/bootlist/startup_seeds.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>

#include "base/handles.h"
#include "contracts/bootlist.h"
#include "contracts/messages.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace bltest {

HKEY RootOf(int kind) { return kind == 1 || kind == 5 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::wstring KeyOf(int kind) {
  std::wstring tail = kind >= 5 ? L"RunOnce" : L"Run";
  return std::wstring(kind == 4 ? L"Software\\Wow6432Node" : L"Software") + L"\\Microsoft\\Windows\\CurrentVersion\\" + tail;
}

std::wstring FullKeyOf(int kind) {
  return std::wstring(RootOf(kind) == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\") + KeyOf(kind);
}

StartupSeeds::StartupSeeds() {
  for (int kind : {1, 3, 4, 5, 6}) keys_.push_back(std::make_unique<test::RegistrySandbox>(RootOf(kind), KeyOf(kind)));
  int csidl[2] = {CSIDL_STARTUP, CSIDL_COMMON_STARTUP};
  for (int f = 0; f < 2; ++f) {
    folders_[f] = test::ShellFolder(csidl[f]);
    EXPECT_FALSE(folders_[f].empty());
    made_[f] = !test::FolderExists(folders_[f]);
    if (made_[f]) {
      EXPECT_TRUE(test::MakeFolders(folders_[f]));
    }
  }
}

StartupSeeds::~StartupSeeds() {
  for (const std::wstring& file : files_) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
  }
  for (int f = 0; f < 2; ++f)
    if (made_[f]) RemoveDirectoryW(folders_[f].c_str());
}

void StartupSeeds::SetValue(int kind, const std::wstring& name, const std::wstring& data, DWORD type) {
  SetRaw(kind, name, type, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void StartupSeeds::SetRaw(int kind, const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
  base::UniqueKey key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(RootOf(kind), KeyOf(kind).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                           key.receive(), nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes));
}

std::wstring StartupSeeds::AddFile(Folder folder, const std::wstring& name, const std::string& content) {
  std::wstring path = folders_[folder] + L"\\" + name;
  EXPECT_TRUE(test::WriteFile(path, content));
  files_.push_back(path);
  return path;
}

std::wstring StartupSeeds::AddShortcut(Folder folder, const std::wstring& name, const std::wstring& target,
                                       const std::wstring& arguments) {
  std::wstring path = folders_[folder] + L"\\" + name;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)));
  if (link) {
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      EXPECT_EQ(S_OK, file->Save(path.c_str(), TRUE));
      file->Release();
    }
    link->Release();
  }
  files_.push_back(path);
  return path;
}

std::vector<std::wstring> StartupSeeds::UndoFiles() const {
  std::vector<std::wstring> files;
  std::wstring folder = program_ / L"Backup\\Startup";
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((folder + L"\\*.reg").c_str(), &data));
  if (!find) return files;
  do files.push_back(folder + L"\\" + data.cFileName);
  while (FindNextFileW(find.get(), &data));
  return files;
}

std::vector<StartupEntry> List(int* result) {
  test::ReportRecorder recorder;
  int r = BootlistGetStartupList(recorder.window());
  if (result) *result = r;
  std::vector<StartupEntry> entries;
  for (const test::Report& report : recorder.reports()) {
    EXPECT_EQ(report_kind::kStartupEntry, report.kind);
    EXPECT_TRUE(report.terminated);
    StartupEntry entry;
    EXPECT_TRUE(bootlist_page::ParseEntryReport(report.text, &entry)) << testing::PrintToString(report.text);
    entries.push_back(entry);
  }
  return entries;
}

int Count(const std::vector<StartupEntry>& entries, const std::wstring& item, int kind) {
  int n = 0;
  for (const StartupEntry& e : entries) n += e.item == item && e.kind == kind;
  return n;
}

const StartupEntry* Find(const std::vector<StartupEntry>& entries, const std::wstring& item, int kind) {
  for (const StartupEntry& e : entries)
    if (e.item == item && e.kind == kind) return &e;
  return nullptr;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace bltest

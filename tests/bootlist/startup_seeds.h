// Start-up entries for the startup manager's tests: the five Run and RunOnce keys sandboxed, the two
// Startup folders made when missing and left as they were found, and a scratch program folder as
// the current directory, where the removals' backups go. Plus listing into a recorder as the page
// reads it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "pages/managers/bootlist_entries.h"
#include "tests/support/program_folder.h"
#include "tests/support/registry_sandbox.h"

namespace bltest {

using bootlist_page::StartupEntry;

// The key of a registry kind (1, 3, 4, 5, 6) below its root, and its root.
HKEY RootOf(int kind);
std::wstring KeyOf(int kind);
std::wstring FullKeyOf(int kind);  // "HKEY_...\..." as the registry editor names it

class StartupSeeds {
 public:
  enum Folder { kUser = 0, kCommon = 1 };
  StartupSeeds();
  ~StartupSeeds();

  void SetValue(int kind, const std::wstring& name, const std::wstring& data, DWORD type = REG_SZ);
  void SetRaw(int kind, const std::wstring& name, DWORD type, const void* data, DWORD bytes);
  // A file or a shortcut (target, arguments) in a Startup folder; its full path.
  std::wstring AddFile(Folder folder, const std::wstring& name, const std::string& content = "@echo off\r\n");
  std::wstring AddShortcut(Folder folder, const std::wstring& name, const std::wstring& target, const std::wstring& arguments);
  const std::wstring& folder(Folder f) const { return folders_[f]; }
  test::ProgramFolder& program() { return program_; }
  // The undo files written so far, full paths.
  std::vector<std::wstring> UndoFiles() const;

 private:
  test::ProgramFolder program_;
  std::vector<std::unique_ptr<test::RegistrySandbox>> keys_;
  std::wstring folders_[2];
  bool made_[2] = {false, false};
  std::vector<std::wstring> files_;
};

// BootlistGetStartupList into a recorder, each report read as the page reads it (an unreadable
// report fails the test). result: what the export returned.
std::vector<StartupEntry> List(int* result = nullptr);
// How many entries have that item and kind.
int Count(const std::vector<StartupEntry>& entries, const std::wstring& item, int kind);
const StartupEntry* Find(const std::vector<StartupEntry>& entries, const std::wstring& item, int kind);

std::string ReadFileBytes(const std::wstring& path);

}  // namespace bltest

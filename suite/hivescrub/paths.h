// Path judgement: whether what a registry entry points at is verifiably missing. Everything that
// cannot be verified (network and removable drives, drives that are not there, unexpandable
// variables, relative paths, over-long or malformed paths, access errors) is "unknown", and an
// unknown target never makes an entry a problem.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace hivescrub {

enum class Presence { kPresent, kMissing, kUnknown };

struct Target {
  Presence presence = Presence::kUnknown;
  std::wstring path;  // what was looked for, as the user should see it
};

class PathJudge {
 public:
  PathJudge();

  // A command line: quotes and arguments stripped, environment strings expanded, "@" resource
  // references, "\SystemRoot\" and "\??\" prefixes understood, unquoted paths with spaces resolved
  // as CreateProcess does, bare names searched as Windows searches them, and "rundll32 x.dll,..."
  // judged by the DLL. wow64: the entry describes a 32-bit program.
  Target Program(const std::wstring& command, bool wow64);
  // A service image path: the same, and a path relative to the Windows folder is taken from there.
  Target ServiceImage(const std::wstring& command, bool wow64);
  // A file reference without arguments (quotes allowed); bare names are looked up in the folders
  // given first, then where Windows looks for programs.
  Target File(const std::wstring& path, bool wow64, const std::vector<std::wstring>& folders = {});
  Target Folder(const std::wstring& path, bool wow64);

  // Whether a bare program name (no folder) can be found where Windows finds programs.
  Presence BareName(const std::wstring& name, const std::vector<std::wstring>& folders = {});

  // An absolute local path, cached. For a path inside the system or program folders of a 64-bit
  // Windows the other bitness's folder is looked at too: a program written through the wrong view
  // is still a program that exists.
  Presence Exists(const std::wstring& path, bool folder);

  const std::wstring& windows() const { return windows_; }
  const std::wstring& system() const { return system_; }

 private:
  // Expands the environment strings of known variables and the kernel's path prefixes; false when
  // the result is unreasonably long.
  bool Normalize(std::wstring* path) const;
  Presence ExistsOnce(const std::wstring& path, bool folder);
  std::wstring ShownPath(const std::wstring& path, bool wow64) const;
  Target FileOrName(std::wstring path, bool wow64, const std::vector<std::wstring>& folders, bool allowExe);
  Target CommandLine(std::wstring command, bool wow64, bool service);
  bool AppPathRegistered(const std::wstring& name);

  std::wstring windows_, system_, wow64System_, nativeSystem_, programFiles_, programFilesX86_;
  std::vector<std::wstring> searchPath_;
  bool searchPathVerifiable_ = true;
  std::unordered_map<std::wstring, Presence> cache_;
  std::unordered_map<wchar_t, bool> fixedDrives_;
  std::unordered_map<std::wstring, bool> appPaths_;
};

// The target of a command written the way users see it in a message: "Program not found: X".
std::wstring MissingText(const wchar_t* what, const Target& target);

}  // namespace hivescrub

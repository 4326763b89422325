// A scratch program folder made the current directory for one test, as the program makes its own
// folder current at start: engines that work relative to it (the backups) write only there. It holds
// the empty backup folders of an installation unless asked to be bare; the previous current
// directory comes back when the test ends.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scratch.h"

namespace test {

class ProgramFolder {
 public:
  enum class Layout { Installed, Bare };
  explicit ProgramFolder(Layout layout = Layout::Installed) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    previous_ = previous;
    if (layout == Layout::Installed)
      for (const wchar_t* sub : {L"Backup\\Registry\\FirstBackup", L"Backup\\Registry\\FullBackup",
                                 L"Backup\\Favorites\\Internet Explorer"})
        folder_.MakeFolder(sub);
    EXPECT_TRUE(SetCurrentDirectoryW(folder_.path().c_str()));
  }
  ~ProgramFolder() { SetCurrentDirectoryW(previous_.c_str()); }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::wstring& path() const { return folder_.path(); }
  std::wstring operator/(const std::wstring& relative) const { return folder_ / relative; }
  ScratchFolder& scratch() { return folder_; }

 private:
  ScratchFolder folder_;  // made before the directory changes, deleted after it changed back
  std::wstring previous_;
};

}  // namespace test

// The program makes its own folder the current directory, whatever folder it was started in.
#include "app/program_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderAndBecomesCurrent) {
  EXPECT_EQ(L"C:\\LumaspanTests", ProgramFolder());
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(L"C:\\windows");
  EXPECT_TRUE(MakeProgramFolderCurrent());
  wchar_t now[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, now);
  EXPECT_STREQ(L"C:\\LumaspanTests", now);
  SetCurrentDirectoryW(previous);
}

}  // namespace

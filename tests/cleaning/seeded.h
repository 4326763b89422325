// Helpers of the cleaning engines' tests: files put into the prefix's real shell folders and taken
// out again, a shell folder pointed elsewhere for one test, and the reports of a scan read back.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/report_recorder.h"

namespace cleaning_test {

// Files written below a folder that the test does not own (a shell folder of the prefix). On
// destruction exactly the files written and the folders that had to be created are removed,
// deepest first; whatever was there before stays.
class SeededFiles {
 public:
  explicit SeededFiles(std::wstring folder);
  ~SeededFiles();
  SeededFiles(const SeededFiles&) = delete;
  SeededFiles& operator=(const SeededFiles&) = delete;

  const std::wstring& folder() const { return folder_; }
  // Writes folder\relative with content; returns the full path.
  std::wstring Write(const std::wstring& relative, const std::string& content = std::string());
  // Creates folder\relative (and the folders on its way); returns the full path.
  std::wstring MakeFolder(const std::wstring& relative);

 private:
  void MakeFoldersTo(const std::wstring& path);

  std::wstring folder_;
  std::vector<std::wstring> files_;
  std::vector<std::wstring> folders_;  // in creation order
};

// Points a shell folder of the current user ("Favorites", "Recent") at another path for the life
// of the object, in both registry lists Windows keeps; the old values come back exactly.
class ShellFolderOverride {
 public:
  ShellFolderOverride(const wchar_t* name, const std::wstring& path);
  ~ShellFolderOverride();
  ShellFolderOverride(const ShellFolderOverride&) = delete;
  ShellFolderOverride& operator=(const ShellFolderOverride&) = delete;

 private:
  struct Saved {
    bool existed = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };
  std::wstring name_;
  Saved user_, shell_;
};

// The process's TMP and TEMP (the user's temporary folder as the shell gave it) pointed at path for
// the life of the object; an empty path removes both.
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::wstring& path);
  ~TemporaryFolderOverride();
  TemporaryFolderOverride(const TemporaryFolderOverride&) = delete;
  TemporaryFolderOverride& operator=(const TemporaryFolderOverride&) = delete;

 private:
  std::wstring tmp_, temp_;
  bool hadTmp_ = false, hadTemp_ = false;
};

// A file held open, without sharing, by another process (a command interpreter waiting for input)
// for the life of the object, as a running program holds its files.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool holding() const { return process_ != nullptr; }

 private:
  HANDLE process_ = nullptr;
  HANDLE input_ = nullptr;  // the interpreter's input; closing it ends the interpreter
};

// "name|location|size" as the engines send it.
std::wstring ItemText(const std::wstring& name, const std::wstring& location, uint64_t size);

// The item texts of a file scan, after checking that every report is terminated and that a
// progress report (20000) came first. Records a test failure otherwise.
std::vector<std::wstring> FileItems(const test::ReportRecorder& recorder, ULONG_PTR itemKind);

// Checks a registry scan's reports against the expected (progress text, item text) pairs: exactly
// the expected items, and progress (thinned out, so not one per item) that begins the scan with
// the first item's text and shows only texts of the expected ones. Records test failures.
using ReportPairs = std::vector<std::pair<std::wstring, std::wstring>>;
void ExpectRegistryReports(const ReportPairs& expected, const test::ReportRecorder& recorder);

// The items that are in after but not in before (each counted), in the order of after.
std::vector<std::wstring> Added(const std::vector<std::wstring>& before, const std::vector<std::wstring>& after);

// Sorted copy.
std::vector<std::wstring> Sorted(std::vector<std::wstring> texts);

// The location of an item as the cleaning pages keep it: a file's path shortened by the length of
// its name (its folder, with the backslash); a registry location whole.
std::wstring PageLocation(const std::wstring& itemText);
std::wstring ItemName(const std::wstring& itemText);

// The temporary folder the cleaners walk: the one GetTempPathW names, without its backslash.
std::wstring TemporaryFolder();

// Wine keeps one Recycle Bin for every drive: the Trash of its home folder. A test may fill and
// empty it only when that home is the build tree's private one, never a real user's bin. False
// (why says why, and it is printed) otherwise: the test must then leave the bin alone.
bool PrivateRecycleBin(std::string* why);
// Deletes the file at path into the Recycle Bin; true when it went.
bool Recycle(const std::wstring& path);

// True when this test binary runs as Windows XP (its name ends in _xp.exe).
bool RunningAsXp();

}  // namespace cleaning_test

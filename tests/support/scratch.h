// Files for a test, always inside the test prefix: a ScratchFolder is a fresh folder under
// C:\LumaspanScratch removed with everything in it afterwards; an ExtraDrive is one of the extra
// fixed drives (T:, U:) that ./lumaspan test maps to scratch folders of the build tree, emptied
// before and after the test.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace test {

class ScratchFolder {
 public:
  ScratchFolder();
  // A folder at an exact place (it must lie under C:\LumaspanScratch, T:\ or U:\); created empty.
  explicit ScratchFolder(std::wstring path);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }  // no trailing backslash
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

  // Creates relative (and the folders on its way) holding content; returns the full path.
  std::wstring Write(const std::wstring& relative, const std::string& content = std::string());
  std::wstring MakeFolder(const std::wstring& relative);

 private:
  std::wstring path_;
};

class ExtraDrive {
 public:
  explicit ExtraDrive(wchar_t letter = L'T');
  ~ExtraDrive();
  ExtraDrive(const ExtraDrive&) = delete;
  ExtraDrive& operator=(const ExtraDrive&) = delete;

  bool present() const { return present_; }
  const std::wstring& root() const { return root_; }  // "T:\"
  std::wstring Write(const std::wstring& relative, const std::string& content = std::string());
  std::wstring MakeFolder(const std::wstring& relative);

 private:
  std::wstring root_;
  bool present_ = false;
};

// Creates every folder on the way to (and including) path.
bool MakeFolders(const std::wstring& path);
// Writes a file (creating its folders); true on success.
bool WriteFile(const std::wstring& path, const std::string& content);
// Makes a sparse file of the given size without writing its bytes.
bool WriteSparseFile(const std::wstring& path, uint64_t size);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Deletes path and everything below it, but only under the scratch places above; true when gone.
bool DeleteTree(const std::wstring& path);
// The path of a CSIDL shell folder, without creating it.
std::wstring ShellFolder(int csidl);

}  // namespace test

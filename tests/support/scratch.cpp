#include "tests/support/scratch.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "base/handles.h"

namespace test {
namespace {

const wchar_t kScratchRoot[] = L"C:\\LumaspanScratch";

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
  return s.size() >= prefix.size() && _wcsnicmp(s.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// Deleting is only ever allowed inside the places a test owns.
bool IsScratch(const std::wstring& path) {
  return StartsWithNoCase(path, std::wstring(kScratchRoot) + L"\\") || StartsWithNoCase(path, L"T:\\") ||
         StartsWithNoCase(path, L"U:\\");
}

void DeleteContents(const std::wstring& folder) {
  std::wstring prefix = folder.back() == L'\\' ? folder : folder + L"\\";
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((prefix + L"*").c_str(), &data));
  if (!find) return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring full = prefix + name;
    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      DeleteContents(full);
      RemoveDirectoryW(full.c_str());
    } else {
      DeleteFileW(full.c_str());
    }
  } while (FindNextFileW(find.get(), &data));
}

std::wstring Trimmed(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

bool MakeFolders(const std::wstring& path) {
  std::wstring p = Trimmed(path);
  if (p.empty()) return false;
  DWORD a = GetFileAttributesW(p.c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t cut = p.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 2) MakeFolders(p.substr(0, cut));
  return CreateDirectoryW(p.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteFile(const std::wstring& path, const std::string& content) {
  size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos) MakeFolders(path.substr(0, cut));
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  if (content.empty()) return true;
  return ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

bool WriteSparseFile(const std::wstring& path, uint64_t size) {
  size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos) MakeFolders(path.substr(0, cut));
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD ignored = 0;
  DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  return SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteTree(const std::wstring& path) {
  std::wstring p = Trimmed(path);
  if (!IsScratch(p + L"\\")) {
    ADD_FAILURE() << "refusing to delete outside the scratch places";
    return false;
  }
  DWORD a = GetFileAttributesW(p.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(p.c_str()) != 0;
  DeleteContents(p);
  if (p.size() > 3) RemoveDirectoryW(p.c_str());  // a drive root stays
  return p.size() <= 3 || GetFileAttributesW(p.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  return path;
}

ScratchFolder::ScratchFolder() {
  static LONG counter = 0;
  wchar_t name[64];
  swprintf(name, 64, L"\\t%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
  path_ = std::wstring(kScratchRoot) + name;
  DeleteTree(path_);
  MakeFolders(path_);
}

ScratchFolder::ScratchFolder(std::wstring path) : path_(Trimmed(std::move(path))) {
  if (!IsScratch(path_ + L"\\")) {
    ADD_FAILURE() << "a scratch folder must lie in a scratch place";
    path_ = std::wstring(kScratchRoot) + L"\\misplaced";
  }
  DeleteTree(path_);
  MakeFolders(path_);
}

ScratchFolder::~ScratchFolder() { DeleteTree(path_); }

std::wstring ScratchFolder::Write(const std::wstring& relative, const std::string& content) {
  std::wstring full = *this / relative;
  EXPECT_TRUE(WriteFile(full, content));
  return full;
}

std::wstring ScratchFolder::MakeFolder(const std::wstring& relative) {
  std::wstring full = *this / relative;
  EXPECT_TRUE(MakeFolders(full));
  return full;
}

ExtraDrive::ExtraDrive(wchar_t letter) : root_(std::wstring(1, letter) + L":\\") {
  present_ = GetDriveTypeW(root_.c_str()) == DRIVE_FIXED;
  if (!present_) {
    ADD_FAILURE() << "drive " << static_cast<char>(letter) << ": is missing; run the tests with ./lumaspan test";
    return;
  }
  DeleteTree(root_);
}

ExtraDrive::~ExtraDrive() {
  if (present_) DeleteTree(root_);
}

std::wstring ExtraDrive::Write(const std::wstring& relative, const std::string& content) {
  std::wstring full = root_ + relative;
  EXPECT_TRUE(WriteFile(full, content));
  return full;
}

std::wstring ExtraDrive::MakeFolder(const std::wstring& relative) {
  std::wstring full = root_ + relative;
  EXPECT_TRUE(MakeFolders(full));
  return full;
}

}  // namespace test

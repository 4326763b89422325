#include "suite/erasemill/kill_file.h"

#include <windows.h>
#include <winternl.h>
#include <ntsecapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/handles.h"
#include "contracts/erasemill.h"
#include "suite/erasemill/overwrite.h"
#include "suite/erasemill/target.h"

namespace erasemill {
namespace {

constexpr int kRenames = 3;
constexpr int kTriesPerRename = 8;
constexpr ULONG kLargestStreamList = 1u << 20;
constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
constexpr NTSTATUS kBufferOverflow = static_cast<NTSTATUS>(0x80000005L);
constexpr NTSTATUS kBufferTooSmall = static_cast<NTSTATUS>(0xC0000023L);

// No sharing: nobody reads the data while it goes, and a file someone else has open is refused
// with a sharing violation. Writes go through the cache to the disk. The link itself is opened,
// never what it points at.
base::UniqueFile OpenExclusive(const std::wstring& path) {
  return base::UniqueFile(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                                      nullptr));
}

bool IsPlainFile(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & kNotPlain); }

bool IsSoleNameOfPlainFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
         IsPlainFile(info.dwFileAttributes) && info.nNumberOfLinks == 1;
}

// The path the system resolves an open handle to, every link on the way followed; "" where the
// system cannot say (Windows XP has no such call).
std::wstring FinalPath(HANDLE handle) {
  using FinalPathFn = DWORD(WINAPI*)(HANDLE, wchar_t*, DWORD, DWORD);
  static const auto fn = reinterpret_cast<FinalPathFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (!fn) return std::wstring();
  std::vector<wchar_t> path(MAX_PATH);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD n = fn(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (n == 0) return std::wstring();
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(n + 1);
  }
  return std::wstring();
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// False when the open file is not the entry of that name in its folder: a link in the last step of
// the path that the system followed although asked not to (Wine takes a Unix link to a file for
// the file itself). Links in the folders on the way, mapped and substituted drives resolve alike
// for the folder and the file, so they change nothing here.
bool ReachesTheNamedEntry(HANDLE file, const Target& target) {
  // The folder without its last backslash, but a drive's root keeps it: "\\?\C:" is the volume.
  std::wstring folderName = target.wide.substr(0, target.nameAt);
  if (folderName.size() > 1 && folderName[folderName.size() - 2] != L':') folderName.pop_back();
  base::UniqueFile folder(CreateFileW(folderName.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  std::wstring reached = FinalPath(file);
  std::wstring folderPath = folder ? FinalPath(folder.get()) : std::wstring();
  if (reached.empty() || folderPath.empty()) return true;  // the checks on the attributes decide alone
  if (folderPath.back() != L'\\') folderPath += L'\\';
  return SameText(reached, folderPath + target.wide.substr(target.nameAt));
}

// The named data streams of an open file (":name:$DATA"); none where the file system has none.
std::vector<std::wstring> NamedStreams(HANDLE file) {
  std::vector<std::wstring> names;
  std::vector<unsigned char> list(4096);
  IO_STATUS_BLOCK status = {};
  NTSTATUS result;
  for (;;) {
    result = NtQueryInformationFile(file, &status, list.data(), static_cast<ULONG>(list.size()), FileStreamInformation);
    if ((result != kBufferOverflow && result != kBufferTooSmall) || list.size() >= kLargestStreamList) break;
    list.resize(list.size() * 2);
  }
  if (result < 0) return names;  // a failure status: nothing to list
  size_t used = std::min<size_t>(status.Information, list.size());
  const size_t header = offsetof(FILE_STREAM_INFORMATION, StreamName);
  for (size_t at = 0; at + header <= used;) {
    FILE_STREAM_INFORMATION entry;
    std::memcpy(&entry, list.data() + at, header);
    size_t chars = entry.StreamNameLength / sizeof(wchar_t);
    if (at + header + chars * sizeof(wchar_t) > used) break;
    std::wstring name(chars, L'\0');
    std::memcpy(&name[0], list.data() + at + header, chars * sizeof(wchar_t));
    const std::wstring suffix = L":$DATA";
    bool named = name.size() > suffix.size() + 1 && name[0] == L':' && name[1] != L':' &&
                 name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (named) names.push_back(name);
    if (entry.NextEntryOffset == 0) break;
    at += entry.NextEntryOffset;
  }
  return names;
}

bool TruncateToZero(HANDLE file) {
  LARGE_INTEGER zero = {};
  return SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) && SetEndOfFile(file) && FlushFileBuffers(file);
}

bool EraseStream(const std::wstring& path, int passes) {
  base::UniqueFile stream(OpenExclusive(path));
  return stream && OverwriteStream(stream.get(), passes) && TruncateToZero(stream.get());
}

bool RandomName(size_t length, std::wstring* name) {
  static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::vector<unsigned char> bytes(length);
  if (length == 0 || !RtlGenRandom(bytes.data(), static_cast<ULONG>(length))) return false;
  name->resize(length);
  for (size_t i = 0; i < length; ++i) (*name)[i] = kAlphabet[bytes[i] % 36];
  return true;
}

// Windows Vista and later rename and delete an open file through its handle; XP cannot.
using SetInfoFn = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);
constexpr int kFileRenameInfo = 3, kFileDispositionInfo = 4;  // FILE_INFO_BY_HANDLE_CLASS

SetInfoFn SetInfoByHandle() {
  static const auto fn = reinterpret_cast<SetInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetFileInformationByHandle")));
  return fn;
}

// FILE_RENAME_INFO with room for the name (declared for Vista and later only).
struct RenameInfo {
  BOOLEAN replaceIfExists;
  HANDLE rootDirectory;
  DWORD fileNameLength;  // in bytes, without the terminator
  wchar_t fileName[1];
};

bool RenameOpen(SetInfoFn set, HANDLE file, const std::wstring& to) {
  const size_t bytes = offsetof(RenameInfo, fileName) + (to.size() + 1) * sizeof(wchar_t);
  std::vector<unsigned char> buffer(bytes, 0);
  RenameInfo* info = reinterpret_cast<RenameInfo*>(buffer.data());
  info->replaceIfExists = FALSE;
  info->rootDirectory = nullptr;
  info->fileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
  std::memcpy(info->fileName, to.c_str(), (to.size() + 1) * sizeof(wchar_t));
  return set(file, kFileRenameInfo, info, static_cast<DWORD>(bytes)) != 0;
}

// Renames the file a few times within its folder, to random names of its name's length: through
// the open handle where the system can (nobody can open the file between the steps), else by
// path. Sets *current to the path it has in the end; false when a rename failed.
bool ScrambleName(const Target& target, HANDLE file, std::wstring* current) {
  *current = target.wide;
  const std::wstring folder = target.wide.substr(0, target.nameAt);
  const size_t length = target.wide.size() - target.nameAt;
  const SetInfoFn set = SetInfoByHandle();
  for (int rename = 0; rename < kRenames; ++rename) {
    bool renamed = false;
    for (int attempt = 0; attempt < kTriesPerRename && !renamed; ++attempt) {
      std::wstring name;
      if (!RandomName(length, &name)) return false;
      std::wstring next = folder + name;
      renamed = set ? RenameOpen(set, file, next) : MoveFileExW(current->c_str(), next.c_str(), 0) != 0;
      if (renamed) {
        *current = next;
        break;
      }
      DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    if (!renamed) return false;
  }
  return true;
}

// Marks the open file for deletion when its handle closes; false where the system cannot.
bool DeleteOnClose(HANDLE file) {
  const SetInfoFn set = SetInfoByHandle();
  if (!set) return false;
  BOOLEAN deleteFile = TRUE;  // FILE_DISPOSITION_INFO (declared for Vista and later only)
  return set(file, kFileDispositionInfo, &deleteFile, sizeof(deleteFile)) != 0;
}

// Files whose old clusters an overwrite in place does not reach.
int RefusedKind(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_ENCRYPTED) return ERASEMILL_ENCRYPTED;
  if (attributes & FILE_ATTRIBUTE_COMPRESSED) return ERASEMILL_COMPRESSED;
  if (attributes & FILE_ATTRIBUTE_SPARSE_FILE) return ERASEMILL_SPARSE;
  return ERASEMILL_ERASED;
}

}  // namespace

int KillFile(const wchar_t* path, int passes) {
  if (passes < kMinPasses || passes > kMaxPasses) return ERASEMILL_FAILED;
  Target target;
  if (!ResolveTarget(path, &target)) return ERASEMILL_FAILED;
  const DWORD attributes = GetFileAttributesW(target.wide.c_str());
  if (!IsPlainFile(attributes)) return ERASEMILL_FAILED;
  const int refused = RefusedKind(attributes);
  if (refused != ERASEMILL_ERASED) return refused;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !SetFileAttributesW(target.wide.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)))
    return ERASEMILL_FAILED;
  base::UniqueFile file(OpenExclusive(target.wide));
  // Checked again once open: the path may have been replaced in between, and a link the system
  // followed all the same shows only in the path's own attributes or where the file was reached.
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool plain = file && IsSoleNameOfPlainFile(file.get()) && GetFileInformationByHandle(file.get(), &info) &&
                     IsPlainFile(GetFileAttributesW(target.wide.c_str())) && ReachesTheNamedEntry(file.get(), target);
  const int refusedNow = plain ? RefusedKind(info.dwFileAttributes) : ERASEMILL_FAILED;
  if (!plain || refusedNow != ERASEMILL_ERASED) {
    file.reset();
    if (readOnly) SetFileAttributesW(target.wide.c_str(), attributes);  // refused: left as it was
    return plain ? refusedNow : ERASEMILL_FAILED;
  }

  for (const std::wstring& stream : NamedStreams(file.get())) {
    if (!EraseStream(target.wide + stream, passes)) return ERASEMILL_FAILED;
  }
  if (!OverwriteStream(file.get(), passes) || !TruncateToZero(file.get())) return ERASEMILL_FAILED;

  std::wstring last;
  if (!ScrambleName(target, file.get(), &last)) return ERASEMILL_FAILED;
  const bool marked = DeleteOnClose(file.get());
  file.reset();
  if (!marked && !DeleteFileW(last.c_str())) return ERASEMILL_FAILED;
  return GetFileAttributesW(last.c_str()) == INVALID_FILE_ATTRIBUTES &&
                 GetFileAttributesW(target.wide.c_str()) == INVALID_FILE_ATTRIBUTES
             ? ERASEMILL_ERASED
             : ERASEMILL_FAILED;
}

}  // namespace erasemill

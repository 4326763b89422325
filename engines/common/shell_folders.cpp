#include "engines/common/shell_folders.h"

#include <shlobj.h>

namespace cleaning {
namespace {

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

HRESULT ShellFolderPath(int csidl, std::wstring* path) {
  wchar_t buffer[MAX_PATH] = {};
  HRESULT hr = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  if (FAILED(hr)) return hr;
  buffer[MAX_PATH - 1] = L'\0';
  if (!buffer[0]) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  path->assign(buffer);
  return S_OK;
}

HRESULT TemporaryFolder(std::wstring* path) {
  wchar_t probe[2];
  if (GetEnvironmentVariableW(L"TMP", probe, 2) || GetEnvironmentVariableW(L"TEMP", probe, 2)) {
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    path->assign(temp, length);
    while (path->size() > 3 && path->back() == L'\\') path->pop_back();
    return S_OK;
  }
  std::wstring local;
  HRESULT hr = ShellFolderPath(CSIDL_LOCAL_APPDATA, &local);
  if (FAILED(hr)) return hr;
  size_t cut = local.rfind(L'\\');
  if (cut != std::wstring::npos) {
    std::wstring classic = local.substr(0, cut) + L"\\Temp";
    if (FolderExists(classic)) {
      *path = classic;
      return S_OK;
    }
  }
  *path = local + L"\\Temp";
  return S_OK;
}

}  // namespace cleaning

#include "pages/options/update_check.h"
#include "base/thread.h"

#include <process.h>
#include <shellapi.h>
#include <urlmon.h>

#include <cwchar>
#include <memory>

#include "base/com.h"
#include "base/handles.h"
#include "base/product.h"
#include "base/registry.h"
#include "base/text_file.h"
#include "contracts/options.h"
#include "pages/options/callback.h"

namespace options_page {
namespace {

const wchar_t kSettingsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";
const wchar_t kDefaultUrl[] = L"http://www.lumaspan.com/Update.log";
const wchar_t kNoConnection[] = L"No Internet connection detected, please try to connect to the internet again.";
const wchar_t kUpToDate[] = L"There are no updates available at this time.\nYour KeepLumaspan is up-to-date.";
const wchar_t kUnreadable[] =
    L"The update information could not be read.\nPlease try again later, or visit the Lumaspan web site.";
// The update file is one line; anything much larger is not it.
constexpr ULONGLONG kLargestUpdateFile = 64 * 1024;

volatile LONG checkRunning = 0;

// One download, shared by the check and the thread that runs it. A check that gives up at its
// deadline leaves the download to end on its own; whichever of the two finishes last deletes the
// file.
struct Download {
  std::wstring url;
  std::wstring file;
  DWORD deadlineSeconds = kUpdateDeadlineSeconds;
  HRESULT result = E_FAIL;
  DWORD httpStatus = 0;
  volatile LONG finished = 0;
};

unsigned __stdcall DownloadMain(void* argument) {
  std::unique_ptr<std::shared_ptr<Download>> held(static_cast<std::shared_ptr<Download>*>(argument));
  Download& download = **held;
  try {
    base::ComScope com;
    base::ComPtr<CCallback> callback(new CCallback(download.deadlineSeconds));
    download.result = URLDownloadToFileW(nullptr, download.url.c_str(), download.file.c_str(), 0, callback.get());
    download.httpStatus = callback->HttpStatus();
  } catch (...) {
    download.result = E_FAIL;
  }
  if (InterlockedExchange(&download.finished, 1)) DeleteFileW(download.file.c_str());  // abandoned
  return 0;
}

// A fresh file of the user's temporary folder for the download. The program's folder is no place
// for it: under "Program Files" a standard user cannot write there.
std::wstring TemporaryFile() {
  wchar_t folder[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  wchar_t file[MAX_PATH] = {};
  if (!GetTempFileNameW(folder, L"lsu", 0, file)) return std::wstring();
  return file;
}

// The first line of a downloaded file; false when there is none or the file is not an update file.
bool FirstLine(const std::wstring& file, std::wstring& line) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return false;
  if ((ULONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow) > kLargestUpdateFile) return false;
  try {
    CTextFileRead reader(file.c_str());
    return reader.ReadLine(line);
  } catch (const CTextFileException&) {
    return false;
  }
}

// Fetches the update file and judges its first line.
UpdateAnswer Fetch(const UpdateRequest& request, std::wstring& latest) {
  auto download = std::make_shared<Download>();
  download->url = request.url;
  download->file = TemporaryFile();
  download->deadlineSeconds = request.deadlineSeconds;
  if (download->file.empty()) return UpdateAnswer::kUnreadable;

  auto* argument = new std::shared_ptr<Download>(download);
  base::UniqueHandle thread = base::Thread::Run([argument] { DownloadMain(argument); }).Release();
  if (!thread) {
    delete argument;
    DeleteFileW(download->file.c_str());
    return UpdateAnswer::kNoConnection;
  }
  // A server that accepts the connection and never answers gives no progress to abort on: the
  // deadline is kept here as well.
  WaitForSingleObject(thread.get(), request.deadlineSeconds * 1000);
  if (!InterlockedExchange(&download->finished, 1)) return UpdateAnswer::kNoConnection;  // given up

  std::wstring line;
  bool read = SUCCEEDED(download->result) && FirstLine(download->file, line);
  DeleteFileW(download->file.c_str());
  if (FAILED(download->result)) {
    // An answer that came, but as an error, is a missing file and not a missing connection.
    return download->httpStatus >= 400 ? UpdateAnswer::kUnreadable : UpdateAnswer::kNoConnection;
  }
  if (download->httpStatus >= 400 || !read) return UpdateAnswer::kUnreadable;
  return JudgeUpdateLine(line, request.version.c_str(), latest);
}

// Shows the message of an answer; a quiet check keeps all but the offer of a newer version to itself.
void Tell(const UpdateRequest& request, UpdateAnswer answer, const std::wstring& latest) {
  if (request.quiet && answer != UpdateAnswer::kNewer) return;
  HWND owner = answer == UpdateAnswer::kNoConnection ? request.page : request.main;
  if (!IsWindow(owner)) return;  // the program is closing
  switch (answer) {
    case UpdateAnswer::kNoConnection:
      MessageBoxW(owner, kNoConnection, product::kCaption, MB_ICONINFORMATION);
      break;
    case UpdateAnswer::kUnreadable:
      MessageBoxW(owner, kUnreadable, product::kCaption, MB_ICONINFORMATION);
      break;
    case UpdateAnswer::kUpToDate:
      MessageBoxW(owner, kUpToDate, product::kCaption, MB_ICONINFORMATION);
      break;
    case UpdateAnswer::kNewer: {
      std::wstring question = L"KeepLumaspan the latest version is " + latest + L"\nyou use the version is " +
                              request.version + L"\nDo you want update now?";
      if (MessageBoxW(owner, question.c_str(), product::kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES && request.openSite) {
        request.openSite(owner);
      }
      break;
    }
  }
}

unsigned __stdcall CheckMain(void* argument) {
  std::unique_ptr<UpdateRequest> request(static_cast<UpdateRequest*>(argument));
  {
    // The shell, which opens the web site, expects COM on the thread that asks it.
    base::ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
      std::wstring latest;
      UpdateAnswer answer = Fetch(*request, latest);
      Tell(*request, answer, latest);
    } catch (...) {
    }
  }
  InterlockedExchange(&checkRunning, 0);
  return 0;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xFEFF; }

}  // namespace

bool ParseVersion(const std::wstring& text, std::vector<unsigned long>& parts) {
  parts.clear();
  size_t start = 0;
  for (;;) {
    size_t dot = text.find(L'.', start);
    size_t end = dot == std::wstring::npos ? text.size() : dot;
    if (end == start || end - start > 9 || parts.size() == 4) return false;
    unsigned long value = 0;
    for (size_t i = start; i < end; ++i) {
      if (text[i] < L'0' || text[i] > L'9') return false;
      value = value * 10 + static_cast<unsigned long>(text[i] - L'0');
    }
    parts.push_back(value);
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  return parts.size() >= 2;
}

UpdateAnswer JudgeUpdateLine(const std::wstring& line, const wchar_t* running, std::wstring& latest) {
  size_t first = 0, last = line.size();
  while (first < last && IsBlank(line[first])) ++first;
  while (last > first && IsBlank(line[last - 1])) --last;
  latest = line.substr(first, last - first);
  std::vector<unsigned long> offered, ours;
  if (!ParseVersion(latest, offered) || !ParseVersion(running ? running : L"", ours)) {
    return UpdateAnswer::kUnreadable;
  }
  offered.resize(4, 0);
  ours.resize(4, 0);
  return offered > ours ? UpdateAnswer::kNewer : UpdateAnswer::kUpToDate;
}

std::wstring UpdateAddress() {
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.receive()) == ERROR_SUCCESS) {
    std::wstring url = base::ReadRegistryString(key.get(), L"UpdateURL");
    if (_wcsnicmp(url.c_str(), L"http://", 7) == 0 || _wcsnicmp(url.c_str(), L"https://", 8) == 0) return url;
  }
  return kDefaultUrl;
}

void OpenWebSite(HWND owner) { ShellExecuteW(owner, L"open", product::kWebSite, nullptr, nullptr, SW_SHOWNORMAL); }

bool StartUpdateCheck(const UpdateRequest& request) {
  if (InterlockedCompareExchange(&checkRunning, 1, 0) != 0) return false;
  try {
    auto* argument = new UpdateRequest(request);
    if (base::Thread::Run([argument] { CheckMain(argument); })) return true;  // not waited for: it ends on its own
    delete argument;
  } catch (...) {
  }
  InterlockedExchange(&checkRunning, 0);
  return false;
}

bool UpdateCheckRunning() { return checkRunning != 0; }

void StartQuietUpdateCheck(HWND mainWindow) {
  if (!OptionsCheckLiveUpdata()) return;
  UpdateRequest request;
  request.page = mainWindow;
  request.main = mainWindow;
  request.url = UpdateAddress();
  request.version = product::kVersion;
  request.quiet = true;
  request.openSite = &OpenWebSite;
  StartUpdateCheck(request);
}

}  // namespace options_page

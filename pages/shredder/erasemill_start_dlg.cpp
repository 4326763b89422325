#include "pages/shredder/erasemill_start_dlg.h"

#include <commctrl.h>
#include <commdlg.h>

#include "base/product.h"
#include "contracts/buffers.h"
#include "contracts/erasemill.h"
#include "contracts/tools.h"
#include "pages/shredder/file_choice.h"
#include "pages/shredder/shredder_ids.h"
#include "ui/controls/page_colours.h"
#include "ui/page_frame.h"

using shredder::FileFacts;

namespace {

constexpr DWORD kListExStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
constexpr int kButtonY = 392, kButtonHeight = 34;  // the buttons' frames, below the list

// The open dialog makes the folder it ends in the current directory; the program's resources are
// found relative to its own folder, so the directory comes back whatever the dialog did.
class CurrentDirectoryKeeper {
 public:
  CurrentDirectoryKeeper() {
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    saved_.assign(length + 1, L'\0');
    if (length == 0 || GetCurrentDirectoryW(length + 1, &saved_[0]) >= length + 1) saved_.clear();
  }
  ~CurrentDirectoryKeeper() {
    if (!saved_.empty()) SetCurrentDirectoryW(saved_.c_str());
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

 private:
  std::wstring saved_;
};

// The dialog opens centred over the main window rather than wherever the system puts it.
UINT_PTR CALLBACK CentreHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != CDN_INITDONE) return 0;
  HWND dialog = GetParent(child);
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT box = {}, over = {};
  if (!owner || !GetWindowRect(dialog, &box) || !GetWindowRect(owner, &over)) return 0;
  int x = over.left + ((over.right - over.left) - (box.right - box.left)) / 2;
  int y = over.top + ((over.bottom - over.top) - (box.bottom - box.top)) / 2;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

std::wstring SizeText(const FileFacts& facts) {
  if (!facts.known) return L"";
  wchar_t text[contracts::kValueChars] = {};
  MakeFileSize(static_cast<DWORD>(facts.size), static_cast<DWORD>(facts.size >> 32), text);
  text[contracts::kValueChars - 1] = L'\0';
  return text;
}

std::wstring NotErasedText(size_t failed) {
  wchar_t text[160] = {};
  swprintf(text, 160,
           failed == 1 ? L"%lu file could not be erased (in use or protected). It is still in the list."
                       : L"%lu files could not be erased (in use or protected). They are still in the list.",
           static_cast<unsigned long>(failed));
  return text;
}

// Why the library refused files it could not erase safely, one sentence per kind found.
std::wstring RefusalText(const bool refused[5]) {
  std::wstring text;
  if (refused[ERASEMILL_COMPRESSED])
    text += L"\n\nCompressed files are not erased: their old data lies where overwriting cannot reach it. "
            L"Uncompress them first (Properties, Advanced).";
  if (refused[ERASEMILL_ENCRYPTED])
    text += L"\n\nEncrypted files are not erased: copies of their data may lie where overwriting cannot reach "
            L"them. Decrypt them first (Properties, Advanced).";
  if (refused[ERASEMILL_SPARSE])
    text += L"\n\nSparse files are not erased: the file system may keep their old data where overwriting cannot "
            L"reach it.";
  return text;
}

}  // namespace

CErasemillStartDlg::CErasemillStartDlg() : ui::Page(IDD_ERASEMILL_START) {}

bool CErasemillStartDlg::OnInitDialog(HWND) {
  const struct {
    ui::CSkinButton* button;
    int id;
    const wchar_t* bitmap;
    int x;
  } buttons[] = {
      {&add_, IDC_ERASEMILL_ADD, L"Res\\Common\\QOR_Button_Add.bmp", 84},
      {&remove_, IDC_ERASEMILL_REMOVE, L"Res\\Common\\QOR_Button_Remove.bmp", 249},
      {&erase_, IDC_ERASEMILL_ERASE, L"Res\\Common\\QOR_Button_Erase.bmp", 414},
  };
  for (const auto& b : buttons) {
    b.button->Bind(Item(b.id));
    b.button->Load(b.bitmap);
    cleaning_pages::PlaceControl(hwnd(), b.id, b.x, kButtonY, ui::CSkinButton::kFrameWidth, kButtonHeight);
  }
  const bool xp = CheckWindowsVersion() == 5;
  RECT r = {xp ? 8 : 6, xp ? 53 : 56, 0, 0};
  r.right = r.left + 555;
  r.bottom = r.top + 332;
  list_.Create(hwnd(), r, L"",
               WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
               WS_EX_CLIENTEDGE, IDC_ERASEMILL_LIST);
  SendMessageW(list_.hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kListExStyle);  // a plain list: no check boxes
  SendMessageW(list_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.regular.get()), FALSE);
  list_.InsertColumn(0, L"Name", 330);
  list_.InsertColumn(1, L"Size", 70);
  list_.InsertColumn(2, L"Data Modified", 110);
  return false;
}

void CErasemillStartDlg::AddFiles(const std::vector<std::wstring>& paths) {
  for (const std::wstring& path : paths) {
    bool listed = false;
    for (const std::wstring& file : files_) listed = listed || shredder::SamePath(file, path);
    if (listed) continue;
    int row = list_.AddRow(path.c_str());
    if (row < 0) continue;  // no row, no file: the list and the rows never disagree
    FileFacts facts = shredder::ReadFileFacts(path);
    list_.SetText(row, 1, SizeText(facts).c_str());
    list_.SetText(row, 2, facts.known ? shredder::ModifiedText(facts.lastWrite).c_str() : L"");
    files_.push_back(path);
  }
}

bool CErasemillStartDlg::ChooseFiles(std::vector<wchar_t>& buffer) {
  CurrentDirectoryKeeper keeper;
  OPENFILENAMEW open = {};
  open.lStructSize = sizeof(open);
  open.hwndOwner = MainWindow();
  open.lpstrFile = buffer.data();
  open.nMaxFile = static_cast<DWORD>(buffer.size());
  // A shortcut chosen is the file erased, never the file it points at.
  open.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST |
               OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
  open.lpfnHook = &CentreHook;
  if (GetOpenFileNameW(&open)) return true;
  if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
    MessageBoxW(MainWindow(), L"Files selected too much!", product::kCaption, MB_OK | MB_ICONWARNING);
  return false;
}

void CErasemillStartDlg::OnAdd() {
  std::vector<wchar_t> buffer(kSelectionChars, L'\0');
  if (!ChooseFiles(buffer)) return;
  AddFiles(shredder::SplitSelection(buffer.data(), buffer.size()));
}

void CErasemillStartDlg::OnRemove() {
  if (files_.empty()) return;
  int row = static_cast<int>(SendMessageW(list_.hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0 || row >= static_cast<int>(files_.size())) {
    MessageBoxW(MainWindow(), L"Please choose one of the list above to remove the item.", product::kCaption,
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  SendMessageW(list_.hwnd(), LVM_DELETEITEM, row, 0);
  files_.erase(files_.begin() + row);
}

void CErasemillStartDlg::OnErase() {
  if (files_.empty()) return;
  if (MessageBoxW(MainWindow(),
                  L"Are you sure to erase the items on the list? You won't able to recover these files using any "
                  L"undelete tools you may have. Are you sure to continue?",
                  product::kCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    return;
  }
  LockMenu(MainWindow(), 1);
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  std::vector<std::wstring> kept;
  bool refused[5] = {};
  for (const std::wstring& path : files_) {
    const int result = ErasemillKillFile(path.c_str(), kPasses);
    if (result == ERASEMILL_ERASED) continue;
    kept.push_back(path);
    if (result > ERASEMILL_ERASED && result <= ERASEMILL_SPARSE) refused[result] = true;
  }
  SetCursor(previous);
  files_.clear();
  list_.DeleteAllRows();
  AddFiles(kept);
  if (kept.empty()) {
    MessageBoxW(MainWindow(), L"Erase Completed.", product::kCaption, MB_OK | MB_ICONINFORMATION);
  } else {
    MessageBoxW(MainWindow(), (NotErasedText(kept.size()) + RefusalText(refused)).c_str(), product::kCaption,
                MB_OK | MB_ICONWARNING);
  }
  LockMenu(MainWindow(), 0);
}

void CErasemillStartDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
  cleaning_pages::DrawTextAt(dc, fonts_.bold.get(), cleaning_pages::kTitleGreen, 8, 19,
                             L"Features:Delete sensitive files beyond recovery.");
}

bool CErasemillStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (cleaning_pages::HandlePagePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  return false;
}

bool CErasemillStartDlg::OnClicked(int id) {
  return Clicked(*this, id,
                 {{IDC_ERASEMILL_ADD, &CErasemillStartDlg::OnAdd},
                  {IDC_ERASEMILL_REMOVE, &CErasemillStartDlg::OnRemove},
                  {IDC_ERASEMILL_ERASE, &CErasemillStartDlg::OnErase}});
}

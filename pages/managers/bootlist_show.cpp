#include "pages/managers/bootlist_show.h"

#include <shellapi.h>

#include "ui/link_cursor.h"
#include "ui/paint.h"

namespace {

using cleaning_pages::DrawTextAt;
using cleaning_pages::DrawTextIn;

constexpr int kTextRight = 450;  // entry texts stop short of the links

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

CBootlistShow::CBootlistShow() : launcher_(&CBootlistShow::Launch) {}

bool CBootlistShow::Bind(HWND staticControl) {
  if (!staticControl || !Subclass(staticControl)) return false;
  defaultIcon_ = ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Startup_Manager_Dlg_Ico.png");
  return true;
}

void CBootlistShow::Show(const std::wstring& item, const std::wstring& location, const std::wstring& program) {
  selected_ = true;
  item_ = item;
  location_ = location;
  program_ = program;
  icon_.reset();
  HICON large = nullptr;
  if (!program_.empty() && ExtractIconExW(program_.c_str(), 0, &large, nullptr, 1) > 0 && large) icon_.reset(large);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBootlistShow::Clear() {
  selected_ = false;
  item_.clear();
  location_.clear();
  program_.clear();
  icon_.reset();
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

CBootlistShow::Link CBootlistShow::LinkAt(POINT p) const {
  if (Inside(kSearchLink, p)) return Link::kSearch;
  if (Inside(kOpenLink, p)) return Link::kOpen;
  if (Inside(kPropertiesLink, p)) return Link::kProperties;
  return Link::kNone;
}

std::wstring CBootlistShow::UrlEncoded(const std::wstring& text) {
  int bytes = text.empty() ? 0 : WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr, nullptr);
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (unsigned char c : utf8) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<wchar_t>(c);
    } else {
      out += L'%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool CBootlistShow::RequestFor(Link link, ShellRequest* request) const {
  switch (link) {
    case Link::kSearch:
      if (item_.empty()) return false;
      *request = {L"open", kSearchAddress + UrlEncoded(item_), L"", false};
      return true;
    case Link::kOpen:
      if (program_.empty()) return false;
      *request = {L"open", L"Explorer.exe", L"/select,\"" + program_ + L"\"", false};
      return true;
    case Link::kProperties:
      if (program_.empty()) return false;
      *request = {L"properties", program_, L"", true};
      return true;
    case Link::kNone:
      break;
  }
  return false;
}

void CBootlistShow::Launch(const ShellRequest& request) {
  SHELLEXECUTEINFOW info = {sizeof(info)};
  info.fMask = request.propertySheet ? SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI : 0;
  info.lpVerb = request.verb.c_str();
  info.lpFile = request.file.c_str();
  info.lpParameters = request.parameters.empty() ? nullptr : request.parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}

void CBootlistShow::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (selected_) {
    if (icon_) {
      DrawIconEx(dc, 6, 6, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
    } else if (ui::Usable(defaultIcon_.get())) {
      Gdiplus::Graphics graphics(dc);
      graphics.DrawImage(defaultIcon_.get(), 6, 0, static_cast<INT>(defaultIcon_->GetWidth()),
                         static_cast<INT>(defaultIcon_->GetHeight()));
    }
    // A long name or command line ends in "..." before the links.
    UINT cut = DT_END_ELLIPSIS;
    DrawTextIn(dc, fonts_.bold.get(), kText, {61, 3, kTextRight, 19}, item_, cut);
    DrawTextIn(dc, fonts_.regular.get(), kText, {61, 19, kTextRight, 35}, L"FileName: " + item_, cut);
    DrawTextIn(dc, fonts_.regular.get(), kText, {61, 35, kTextRight, 51}, L"Location: " + location_, cut);
  } else {
    DrawTextAt(dc, fonts_.bold.get(), kText, 0, 3, L"Instructions");
    DrawTextAt(dc, fonts_.regular.get(), kText, 0, 19,
               L"First, choose one of the applications above that you don't want to launch.");
    DrawTextAt(dc, fonts_.regular.get(), kText, 0, 35, L"Next, click on the \"Remove\" button.");
  }
  DrawTextAt(dc, fonts_.underline.get(), kText, kSearchLink.left, kSearchLink.top, L"Search in Google");
  DrawTextAt(dc, fonts_.underline.get(), kText, kOpenLink.left, kOpenLink.top, L"Open in Explorer");
  DrawTextAt(dc, fonts_.underline.get(), kText, kPropertiesLink.left, kPropertiesLink.top, L"Properties");
}

bool CBootlistShow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result,
                           [this](POINT p) { return LinkAt(p) != Link::kNone; }))
    return true;
  switch (message) {
    case WM_NCHITTEST:  // a static is transparent to the mouse unless it says otherwise
      result = HTCLIENT;
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      result = 0;
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      ShellRequest request;
      if (RequestFor(LinkAt(ui::PointFromLParam(lParam)), &request) && launcher_) launcher_(request);
      result = 0;
      return true;
    }
  }
  return false;
}

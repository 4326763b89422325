#include "pages/options/callback.h"

#include <shlwapi.h>
#include <wchar.h>

namespace options_page {

CCallback::CCallback(DWORD deadlineSeconds) : start_(GetTickCount()), deadlineMs_(deadlineSeconds * 1000) {}

bool CCallback::PastDeadline() const { return GetTickCount() - start_ > deadlineMs_; }

STDMETHODIMP CCallback::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
    *object = static_cast<IBindStatusCallback*>(this);
  } else if (IsEqualIID(riid, IID_IHttpNegotiate)) {
    *object = static_cast<IHttpNegotiate*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CCallback::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) CCallback::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP CCallback::OnProgress(ULONG progress, ULONG total, ULONG, LPCWSTR) {
  if (PastDeadline()) return E_ABORT;
  wchar_t done[64] = {}, whole[64] = {};
  StrFormatByteSizeW(progress, done, 64);
  if (total == 0) {
    _snwprintf(progress_, 255, L"Downloaded %ls (total size unknown)", done);
  } else {
    StrFormatByteSizeW(total, whole, 64);
    _snwprintf(progress_, 255, L"Downloaded %ls of %ls", done, whole);
  }
  progress_[255] = L'\0';
  return S_OK;
}

STDMETHODIMP CCallback::GetBindInfo(DWORD* flags, BINDINFO* info) {
  if (!flags || !info) return E_INVALIDARG;
  *flags |= BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE | BINDF_PRAGMA_NO_CACHE;
  DWORD size = info->cbSize;
  ZeroMemory(info, size);
  info->cbSize = size;
  info->dwBindVerb = BINDVERB_GET;
  return S_OK;
}

STDMETHODIMP CCallback::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) {
  if (additionalHeaders) *additionalHeaders = nullptr;
  return S_OK;
}

STDMETHODIMP CCallback::OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additionalHeaders) {
  if (additionalHeaders) *additionalHeaders = nullptr;
  httpStatus_ = responseCode;
  return S_OK;
}

}  // namespace options_page

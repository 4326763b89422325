// CCallback: the status callback of one update download. It gives the download up once its
// deadline has passed, asks every cache on the way for the newest copy (an update file served from
// a cache would hide a new release), and keeps the server's HTTP status, since some download stacks
// report a missing file as a successful download of the server's error page.
#pragma once
#include <windows.h>
#include <urlmon.h>

namespace options_page {

class CCallback final : public IBindStatusCallback, public IHttpNegotiate {
 public:
  // The deadline counts from construction. The object starts with one reference, the creator's.
  explicit CCallback(DWORD deadlineSeconds);

  bool PastDeadline() const;
  // The status line's code of the last HTTP response, or 0 when none came.
  DWORD HttpStatus() const { return httpStatus_; }
  // "Downloaded 1.20 KB of 3.40 KB", or "... (total size unknown)".
  const wchar_t* ProgressText() const { return progress_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IBindStatusCallback
  STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP OnProgress(ULONG progress, ULONG total, ULONG statusCode, LPCWSTR statusText) override;
  STDMETHODIMP OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
  STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  // IHttpNegotiate
  STDMETHODIMP BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) override;
  STDMETHODIMP OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additionalHeaders) override;

 private:
  ~CCallback() = default;

  volatile LONG references_ = 1;
  DWORD start_;
  DWORD deadlineMs_;
  volatile DWORD httpStatus_ = 0;
  wchar_t progress_[256] = {};
};

}  // namespace options_page

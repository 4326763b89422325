// CHivesafeWaitDlg and CHivesafeRestoreDlg: the small modal windows shown while the registry editor
// makes a backup or merges one back, which takes from seconds to minutes. The engine call runs on a
// worker thread, so the window keeps painting and the program never looks hung; the window cannot
// be closed by the user (Esc and the close box are swallowed), the main window stays disabled by the
// modal loop, and the window closes itself when the call returns.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "base/handles.h"
#include "ui/dialog.h"
#include "ui/gdi.h"

class CHivesafeWaitDlg : public ui::Dialog {
 public:
  static constexpr UINT_PTR kStartTimer = 1;
  static constexpr UINT kStartDelayMs = 100;  // the window paints before the call begins

  CHivesafeWaitDlg();  // a backup: the first one ever into FirstBackup, later ones into FullBackup

  // The engine's result once the window has closed: nonzero when the backup (or restore) was made.
  int result() const { return result_; }

 protected:
  CHivesafeWaitDlg(UINT templateId, const wchar_t* title);
  // The engine call for the worker. It runs on another thread while this window lives on, so it
  // holds values only, nothing of the window.
  virtual std::function<int()> EngineCall() const;

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnCommand(int id, int code, HWND control) override;
  void StartCall();

  const wchar_t* title_;
  ui::Font font_;
  base::UniqueHandle worker_;
  bool started_ = false;
  int result_ = 0;
};

class CHivesafeRestoreDlg : public CHivesafeWaitDlg {
 public:
  CHivesafeRestoreDlg();

  // Set by the page before the window is shown: the backup to merge, a name of FullBackup when full
  // is nonzero, else of FirstBackup.
  int full = 0;
  std::wstring fileName;

 protected:
  std::function<int()> EngineCall() const override;
};

// One category scan: its reports to the window that asked, and the walk helpers every category
// uses. Once a report is refused (the window answered "stop" or is gone) nothing more is sent and
// every walk ends at its next step.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "checks.h"

namespace hivescrub {

class Scan {
 public:
  Scan(HWND window, int category);
  Scan(const Scan&) = delete;
  Scan& operator=(const Scan&) = delete;

  // Reports that the category begins; false when the scan must end.
  bool Begin();
  bool ok() const { return !stopped_; }
  Context& context() { return context_; }

  // What is being examined; sent at most about twenty times a second.
  void Progress(HKEY root, const std::wstring& key);
  // Judges one entry and reports it when it is a problem and not on the safelist.
  void Examine(const Check& check, const Entry& entry, HKEY key);

  // Calls visit(name, key) for each sub-key of root\path that can be opened, with progress, until the
  // scan stops. path is the parent's path below root.
  void ForEachSubKey(HKEY root, const std::wstring& path, HKEY parent,
                     const std::function<void(const std::wstring& name, HKEY key)>& visit);
  // The same for the sub-keys of root\path, opened here; a missing key, or a 32-bit view that is a
  // link to the native key, is skipped.
  void ForEachSubKeyAt(HKEY root, const std::wstring& path,
                       const std::function<void(const std::wstring& name, HKEY key)>& visit);
  // Judges every key one and two levels below root\path with check; a key on the check's safelist is
  // neither judged nor walked into.
  void ExamineTwoLevels(const Check& check, HKEY root, const std::wstring& path);
  // Judges every value of root\path with check (the key is opened here); skipped as above.
  void ExamineValues(const Check& check, HKEY root, const std::wstring& path);

 private:
  HWND window_;
  int category_;
  bool stopped_ = false;
  DWORD lastProgress_ = 0;
  bool progressSent_ = false;
  Context context_;
};

}  // namespace hivescrub

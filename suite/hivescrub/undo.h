// The undo of every repair: the exact key or value, as registry editor (.reg) text, appended to the
// session's undo file "Backup\Registry\Undo\<local time stamp>.reg" (relative to the current folder,
// the program's folder) and flushed before the registry is changed. Importing the file with
// "regedit /s" puts back every entry the session repaired.
#pragma once
#include <windows.h>

#include <mutex>
#include <string>

#include "base/handles.h"

namespace hivescrub {

// .reg text that recreates root\key and everything below it; a registry link below it is noted in a
// comment and not entered. False when the key is itself a link, cannot be read whole, or holds a
// name that .reg text cannot carry exactly.
bool UndoOfKey(HKEY root, const std::wstring& key, std::wstring* text);
// .reg text that sets the value back as it is now, or deletes it again when it does not exist now
// (used for the value a repair is about to create).
bool UndoOfValue(HKEY root, const std::wstring& key, const std::wstring& value, std::wstring* text);

// One session's undo file in a folder relative to the current folder: "<folder>\<local time stamp>.reg",
// made with its header on the first Append.
class UndoLog {
 public:
  explicit UndoLog(const wchar_t* folder);
  UndoLog(const UndoLog&) = delete;
  UndoLog& operator=(const UndoLog&) = delete;

  // Appends text to the session's file, creating the file and its folders when needed, and flushes
  // it to disk. False (and the file as it was) when any of that fails.
  bool Append(const std::wstring& text);
  // The full path of the session's file, "" before the first Append.
  std::wstring Path();

 private:
  base::UniqueFile OpenSessionFile(bool* created);

  const std::wstring folder_;
  std::mutex lock_;
  std::wstring path_;
};

// The registry cleaner's session: AppendUndo and UndoFilePath of "Backup\Registry\Undo".
bool AppendUndo(const std::wstring& text);
std::wstring UndoFilePath();

}  // namespace hivescrub

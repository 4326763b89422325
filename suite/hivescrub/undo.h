// The undo of every repair: the exact key or value, as registry editor (.reg) text, appended to the
// session's undo file "Backup\Registry\Undo\<local time stamp>.reg" (relative to the current folder,
// the program's folder) and flushed before the registry is changed. Importing the file with
// "regedit /s" puts back every entry the session repaired.
#pragma once
#include <windows.h>

#include <string>

namespace hivescrub {

// .reg text that recreates root\key and everything below it. False when the key cannot be read whole
// or holds a name that .reg text cannot carry exactly.
bool UndoOfKey(HKEY root, const std::wstring& key, std::wstring* text);
// .reg text that sets the value back as it is now, or deletes it again when it does not exist now
// (used for the value a repair is about to create).
bool UndoOfValue(HKEY root, const std::wstring& key, const std::wstring& value, std::wstring* text);

// Appends text to the session's undo file, creating the file and its folders when needed, and
// flushes it to disk. False (and the file as it was) when any of that fails.
bool AppendUndo(const std::wstring& text);

// The full path of this session's undo file, "" before the first repair.
std::wstring UndoFilePath();

}  // namespace hivescrub

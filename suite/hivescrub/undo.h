// The undo of every repair: the exact key or value, as registry editor (.reg) text, appended to the
// session's undo file "Backup\Registry\Undo\<local time stamp>.reg" (relative to the current folder,
// the program's folder) and flushed before the registry is changed. Importing the file with
// "regedit /s" puts back every entry the session repaired. The add-on remover keeps its own undo
// files the same way in another folder.
#pragma once
#include <windows.h>

#include <string>

namespace hivescrub {

constexpr wchar_t kRegistryUndoFolder[] = L"Backup\\Registry\\Undo";

// .reg text that recreates root\key and everything below it. False when the key cannot be read whole
// or holds a name that .reg text cannot carry exactly.
bool UndoOfKey(HKEY root, const std::wstring& key, std::wstring* text);
// .reg text that sets the value back as it is now, or deletes it again when it does not exist now
// (used for the value a repair is about to create).
bool UndoOfValue(HKEY root, const std::wstring& key, const std::wstring& value, std::wstring* text);

// Appends text to the session's undo file in folder (relative to the current folder), creating the
// file and its folders when needed, and flushes it to disk. False (and the file as it was) when any
// of that fails.
bool AppendUndo(const std::wstring& text, const wchar_t* folder = kRegistryUndoFolder);

// The full path of this session's undo file in folder, "" before the first repair.
std::wstring UndoFilePath(const wchar_t* folder = kRegistryUndoFolder);

}  // namespace hivescrub

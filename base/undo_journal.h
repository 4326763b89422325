// The undo of a repair: the exact prior state of every value it is about to change, as registry
// editor (.reg) text, appended to a journal file and flushed before the registry is changed, so
// that "regedit /s" of the file puts back what was there, absent values and keys included (a "-"
// value line, a "[-key]" block). The file is UTF-16 with its byte-order mark and starts with
// "Windows Registry Editor Version 5.00", as every undo file of the product.
//
// A journal writes to the file it was given (one file shared by the libraries a repair run uses)
// or, without one, to a session file "<folder>\<local time stamp>[-n].reg" below the current
// folder, made on the first append.
#pragma once
#include <windows.h>

#include <string>

namespace base {

// The first line of every .reg text the product writes.
extern const wchar_t kRegHeader[];

// Whether a key path or value name can be written as .reg text and read back exactly: it holds no
// line break or other control character.
bool RegWritable(const std::wstring& name);
// A name or string quoted as .reg text writes it, backslashes and quotes escaped.
std::wstring RegQuoted(const std::wstring& s);
// Appends the .reg line that gives key's existing value `name` back with its exact type and bytes.
// False when the value is missing, cannot be read or its name cannot be written.
bool ExistingValueLine(HKEY key, const std::wstring& name, std::wstring* out);

// .reg text giving root\key's value `value` (null or "" for the default value) back as it is now,
// in the registry view `view` (0 or KEY_WOW64_64KEY; paths then name the key literally). When the
// key does not exist the text deletes the outermost key a write would create. False when the state
// cannot be read or written as text exactly.
bool UndoOfValue(HKEY root, const std::wstring& key, const wchar_t* value, REGSAM view, std::wstring* text);

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"; "" otherwise.
const wchar_t* RootName(HKEY root);

// A free journal name "<folder>\<local time stamp>[-n].reg" (full path), the folder made when
// missing; "" when the folder cannot be made.
std::wstring FreeJournalPath(const wchar_t* folder);

class UndoJournal {
 public:
  explicit UndoJournal(const wchar_t* sessionFolder) : folder_(sessionFolder) {}
  UndoJournal(const UndoJournal&) = delete;
  UndoJournal& operator=(const UndoJournal&) = delete;

  // The file later appends go to; null or "" goes back to the session file.
  void UseFile(const wchar_t* path);
  // Appends text (the header first into an empty file) and flushes it to disk. False, with the
  // file as it was, when any of that fails: the change it describes must then not be made.
  bool Append(const std::wstring& text);
  // The file of the last successful append, "" before it.
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring folder_;
  std::wstring chosen_;   // given by UseFile
  std::wstring session_;  // made by the first append without a chosen file
  std::wstring path_;
};

}  // namespace base

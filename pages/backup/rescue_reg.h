// Reading the product's own undo files (.reg text, UTF-16 with its byte-order mark, as
// base/undo_journal writes it) without the registry editor: every line is parsed into what it does
// to the registry, so that a file can be judged before it is imported and its effect read back
// after. Only what the product writes is accepted; anything else makes the file damaged.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace rescue {

// The largest undo file read: far above a day of repairs, far below what would strain memory.
constexpr DWORD kLargestUndoFile = 32u << 20;

struct RegOp {
  enum Type { kMakeKey, kDeleteKey, kSetValue, kDeleteValue } type;
  HKEY root;               // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
  std::wstring key;        // below the root, as written
  std::wstring name;       // the value's name, "" for the default value
  DWORD valueType = REG_NONE;
  std::vector<BYTE> data;  // exactly the bytes the value holds
};

struct RegText {
  std::vector<RegOp> ops;             // in file order
  std::vector<std::wstring> comments;  // the text of each comment line, without the ';'
  // Values and keys the file puts back: each value line and each deleted key, and each key block
  // that holds no value (an empty key of a deleted tree).
  int Entries() const;
};

// Reads a file of at most kLargestUndoFile bytes whole; false (why set) when it cannot.
bool ReadUndoBytes(const std::wstring& path, std::vector<char>* bytes, std::wstring* why);
// Parses UTF-16 .reg bytes (the mark, the version 5 header line, then blocks); false with why set
// on anything the product does not write.
bool ParseRegBytes(const std::vector<char>& bytes, RegText* out, std::wstring* why);

// "HKEY_CURRENT_USER\..." of an op's key.
std::wstring FullKey(const RegOp& op);
// Whether key (below some root) equals prefix or lies below it; case-insensitive, as the registry.
bool KeyAtOrBelow(const std::wstring& key, const std::wstring& prefix);
bool KeyBelow(const std::wstring& key, const std::wstring& prefix);

// How many ops do not stand in the registry now (the 64-bit view), counting only each op's last
// word on its value or key: after an import of the text, 0 means all of it took.
int OpsNotInRegistry(const RegText& text);

}  // namespace rescue

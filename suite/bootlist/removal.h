// Removing one start-up entry so that it can be put back. Before a registry entry is deleted its
// exact value is appended, as registry editor text, to the session's undo file
// "Backup\Startup\<local time stamp>.reg" (relative to the current folder, the program's folder) and
// flushed; a Startup-folder file is moved into "Backup\Startup\Files\", never deleted, and the undo
// file notes where it went. "regedit /s" of the undo file and moving the file back restore the
// entries exactly.
#pragma once
#include <string>

namespace bootlist {

// key: the value name for the registry kinds, the file's full path for kind 2. Only an entry the
// list shows can be removed: a string value of that kind's key, or a file directly inside a
// Startup folder; anything else is refused (false) and nothing changes.
bool RemoveEntry(int kind, const std::wstring& key);

// The full path of this session's undo file, "" before the first removal.
std::wstring UndoFilePath();

}  // namespace bootlist

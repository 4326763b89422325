// The changes the product can undo, as the Rescue Center lists them: each undo file the registry
// cleaner ("Backup\Registry\Undo"), the startup manager ("Backup\Startup", its moved files in
// "Backup\Startup\Files"), the add-on manager ("Backup\Addons") and Repair All ("Backup\Repairs")
// wrote, named "<local time stamp %Y%m%d%H%M%S>[-n].reg", and each favorites folder
// "Backup\Favorites\Replaced <stamp>[ (n)]". No window here: the page shows and asks, this unit
// judges, undoes and deletes.
//
// A file is undone only when it is the product's (its name, its mark and header, every line one the
// product writes) and every key it names lies where that kind of change may write; it is imported
// from a private copy of the bytes judged, so what was judged is what is imported.
//
// Undone marker: "<undo file or folder>.undone" beside it, holding the size in bytes (decimal,
// ASCII) of the undo file when it was undone ("0" for a favorites folder). A session goes on
// appending to its undo file, so a file grown past the recorded size is listed again, and only the
// part written after the undo is imported by its next Undo. Delete removes the marker too.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "pages/backup/rescue_reg.h"

namespace rescue {

enum class Kind { kRegistryRepair, kStartupEntry, kBrowserAddon, kOneClickRepair, kFavoritesReplaced };
enum class State { kReady, kUndone, kDamaged, kMissing };

// Where the changes and their places are. SystemPlaces fills it for this user and this computer.
struct Places {
  std::wstring program;                     // the program's folder: "Backup\..." lies below it
  std::wstring favorites;                   // the favorites folder a replaced favorite goes back to
  std::vector<std::wstring> startupFolders;  // the per-user and all-users Startup folders
};
Places SystemPlaces(const std::wstring& programFolder);

struct Item {
  Kind kind;
  std::wstring path;   // the undo file, or the favorites folder
  std::wstring stamp;  // "%Y%m%d%H%M%S" from the name
  int serial = 1;      // the name's "-n" or " (n)"
  int entries = 0;     // values, keys and files the change puts back (the part not undone yet)
  State state = State::kReady;
  std::wstring problem;  // for kDamaged and kMissing: why
  DWORD64 undoneBytes = 0;  // of the undo file, from its marker
};

const wchar_t* KindName(Kind kind);
// "2026-12-08 15:30:00".
std::wstring WhenText(const Item& item);

// Every change, newest first. At most kMaxItemsPerFolder files of each folder are looked at.
constexpr size_t kMaxItemsPerFolder = 100000;
std::vector<Item> ListItems(const Places& places);

struct Outcome {
  bool refused = false;    // nothing was done; why says why
  int total = 0;           // entries the change held
  int notPutBack = 0;      // of those
  int keptBeside = 0;      // files put back under a new name beside one that stands there now
  std::wstring why;        // for refused or notPutBack
};
Outcome Undo(const Places& places, const Item& item);
// Removes the row's undo file (and the files the change kept: a startup manager's moved files, the
// replaced favorites) and its marker; false when something stayed.
bool Delete(const Places& places, const Item& item);

// Exposed for the tests: whether every op of a parsed file lies where that kind of change may write.
bool OpsAllowed(Kind kind, const RegText& text, std::wstring* why);

}  // namespace rescue

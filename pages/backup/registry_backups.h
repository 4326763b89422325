// The registry backups the page lists: the first backup (Backup\Registry\FirstBackup) and the later
// full backups (Backup\Registry\FullBackup) under the current directory, the program's folder. Each
// is known by its own file name and kind, so a row always acts on the very file it shows.
#pragma once
#include <string>
#include <vector>

namespace backup_pages {

struct RegistryBackup {
  std::wstring file;   // the name alone, as Hivesafe takes it
  bool first = false;  // the first backup: restored from FirstBackup, never removed
  std::wstring title;  // "%A %B %d, %Y - %I:%M %p" of the stamp
};

// The title of a backup file name from the stamp its first fourteen characters hold
// ("%Y%m%d%H%M%S"), with English names: "Sunday December 06, 2026 - 06:31 PM". False when the name
// does not begin with a real local date and time.
bool BackupTitle(const std::wstring& file, std::wstring* title);

// The first backup (when FirstBackup holds one whose name begins with a stamp; of several, the last
// the folder lists), then the full backups in stamp order. Names that are not stamps are left out:
// only the registry editor's own backups are offered for a restore.
std::vector<RegistryBackup> ListRegistryBackups();

}  // namespace backup_pages

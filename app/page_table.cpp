#include "app/page_table.h"

#include "app/plain_page.h"
#include "pages/backup/bookvault_start_dlg.h"
#include "pages/backup/hivesafe_start_dlg.h"
#include "pages/backup/rescue_center_dlg.h"
#include "pages/cleaning/litterbin_start_dlg.h"
#include "pages/cleaning/tracewipe_start_dlg.h"
#include "pages/home_registry/hivescrub_start_dlg.h"
#include "pages/home_registry/home_start_dlg.h"
#include "pages/managers/addonward_start_dlg.h"
#include "pages/managers/bootlist_start_dlg.h"
#include "pages/optimizers/corebrisk_start_dlg.h"
#include "pages/optimizers/taskbrisk_start_dlg.h"
#include "pages/options/options_dlg.h"
#include "pages/shredder/erasemill_start_dlg.h"

namespace {

const PageSlot kSlots[] = {
    {page_id::kHome, L"A key to clean-up", &MakePage<CHomeStartDlg>, 0, nullptr, true},
    {page_id::kRegistryCleaner, L"Registry Cleaner", &MakePage<CHivescrubStartDlg>, preload_msg::kRegistryCleaner,
     L"Registry Cleaner Initializing...", true},
    {page_id::kJunkCleaner, L"Junk File Cleaner", &MakePage<CLitterbinStartDlg>, preload_msg::kJunkCleaner,
     L"JunkFile Cleaner Initializing...", true},
    {page_id::kTraceCleaner, L"Evidence Cleaner", &MakePage<CTracewipeStartDlg>, preload_msg::kTraceCleaner,
     L"Evidence Cleaner Initializing...", true},
    {page_id::kFileShredder, L"File Shredder", &MakePage<CErasemillStartDlg>, preload_msg::kFileShredder,
     L"File Shredder Initializing...", false},
    {page_id::kStartupManager, L"Startup Manager", &MakePage<CBootlistStartDlg>, preload_msg::kStartupManager,
     L"Startup Manager Initializing...", false},
    {page_id::kAddonManager, L"BHO Manager", &MakePage<CAddonwardStartDlg>, preload_msg::kAddonManager,
     L"BHO Manager Initializing...", false},
    {page_id::kSystemOptimizer, L"System Optimizer", &MakePage<CCorebriskStartDlg>, preload_msg::kSystemOptimizer,
     L"System Optimizer Initializing...", false},
    {page_id::kAppOptimizer, L"Application Optimizer", &MakePage<CTaskbriskStartDlg>, preload_msg::kAppOptimizer,
     L"Application Optimizer Initializing...", false},
    {page_id::kRegistryBackup, L"Registry Backup", &MakePage<CHivesafeStartDlg>, preload_msg::kRegistryBackup,
     L"Registry Backup Initializing...", false},
    {page_id::kFavoritesBackup, L"Favorites Backup", &MakePage<CBookvaultStartDlg>, preload_msg::kFavoritesBackup,
     L"Favorites Backup Initializing...", false},
    // Made when first visited: it reads the undo files each time it is shown anyway.
    {page_id::kRescueCenter, L"Rescue Center", &MakePage<CRescueCenterDlg>, 0, nullptr, false},
    {page_id::kOptions, L"Options", &MakePage<COptionsDlg>, preload_msg::kOptions, L"Options Initializing...", false},
};

}  // namespace

PageTable DefaultPageTable() { return PageTable{kSlots, sizeof(kSlots) / sizeof(kSlots[0])}; }

const PageSlot* PageTable::Find(UINT id) const {
  int i = IndexOf(id);
  return i < 0 ? nullptr : &slots[i];
}

const PageSlot* PageTable::FindPreload(UINT message) const {
  for (size_t i = 0; i < count; ++i) {
    if (slots[i].preload && slots[i].preload == message) return &slots[i];
  }
  return nullptr;
}

int PageTable::IndexOf(UINT id) const {
  for (size_t i = 0; i < count; ++i) {
    if (slots[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

const wchar_t* HeaderPageName(UINT command) {
  if (command == page_id::kOptimizeGroup) return L"Options";
  if (command == page_id::kBackupGroup) return L"Backups";
  return nullptr;
}

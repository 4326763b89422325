#include "checks.h"

namespace hivescrub {

const Check* FindCheck(int id) {
  static const Check* const kChecks[] = {
      &kClsidServerCheck, &kClsidAppIdCheck,     &kTypeLibCheck,   &kSoftwareFolderCheck, &kSoundCheck,
      &kMuiCacheCheck,    &kOpenSaveMruCheck,    &kHelpFileCheck,  &kSharedDllCheck,      &kRunValueCheck,
      &kAppPathCheck,     &kExtensionClassCheck, &kOpenCommandCheck, &kServiceCheck,      &kFileExtCheck,
      &kFontCheck,        &kInstallerFolderCheck, &kUninstallCheck, &kEmptyKeyCheck};
  for (const Check* check : kChecks)
    if (check->id == id) return check;
  return nullptr;
}

}  // namespace hivescrub

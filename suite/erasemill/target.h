// Which file a caller's path names, decided before anything is opened. Only a plain absolute path
// to a file is taken: a drive path ("C:\...") or a share path ("\\server\share\..."). Device and
// volume paths ("\\.\", "\\?\", "CON", "C:"), relative paths, wildcards and stream names
// ("file:stream") are refused, so the library can only ever reach a file the user could pick.
#pragma once
#include <string>

namespace erasemill {

struct Target {
  std::wstring full;  // the normalised path ("C:\dir\name.ext")
  std::wstring wide;  // the same for the file functions, "\\?\" form: no length limit, no renaming
  size_t nameAt = 0;  // where the file's name starts in wide
};

// False when path is not a plain absolute path to a file (see above).
bool ResolveTarget(const wchar_t* path, Target* target);

}  // namespace erasemill

// One erase, from the caller's path to the file's deletion.
#pragma once

namespace erasemill {

// Erases the file at path: every data stream overwritten passes times (see overwrite.h), the
// length set to 0, the file renamed a few times to random names of the same length in its folder,
// so that its directory entry keeps neither its name nor its size, and deleted. True when the file
// is gone and its data was overwritten. Returns one of the ERASEMILL_ codes (contracts/erasemill.h).
//
// Refused, changing nothing: passes outside 1-35, paths that are not a plain absolute path to a
// file (target.h), folders, devices, reparse points and symbolic links (never erase through a link
// into a place the user did not choose), a file with other hard links (their contents would be
// destroyed under names the user did not choose), and a file another program holds open. A
// read-only file is erased: the user chose it. Compressed, encrypted and sparse files are refused
// with codes of their own: the overwrite would not reach the clusters that hold their old data.
int KillFile(const wchar_t* path, int passes);

}  // namespace erasemill

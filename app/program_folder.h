// Every resource path of the program is relative ("Res\...", "Backup\...", "Data\..."): the
// program makes its own folder the current directory before anything loads, so a shortcut with
// another working folder still finds them.
#pragma once
#include <string>

// The folder of the running executable, without a trailing backslash; empty on failure.
std::wstring ProgramFolder();
// Makes ProgramFolder() the current directory; false when it could not.
bool MakeProgramFolderCurrent();

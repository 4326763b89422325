// The system's registry editor run as a child process, for what it alone does well: writing the
// whole registry to a .reg file, and merging one back.
#pragma once
#include <string>

namespace base {

// Starts the registry editor with the given arguments and waits until it has ended; false when it
// cannot be started or exits with a failure code. The arguments begin with a space and do not name
// the program, as the editor reads its switches from the second word of its command line on.
bool RunRegistryEditor(const std::wstring& arguments);

}  // namespace base

// Files for the skin tests: 24-bit bitmaps painted by a function, the fixture files built into the
// test executable, and a theme folder that is the current directory for the length of a test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "tests/support/pixels.h"
#include "tests/support/scratch.h"

namespace skin_test {

// Writes an RCDATA resource of this executable to a file.
bool WriteResource(const wchar_t* name, const std::wstring& path);

// A scratch folder holding Res\Common\theme.ini (and whatever a test puts beside it), made the
// current directory; the previous one comes back afterwards.
class ThemeFolder {
 public:
  ThemeFolder();
  ~ThemeFolder();
  ThemeFolder(const ThemeFolder&) = delete;
  ThemeFolder& operator=(const ThemeFolder&) = delete;

  // Res\Common\<name>
  std::wstring Common(const std::wstring& name) const;
  void WriteTheme(const std::string& text);
  const test::ScratchFolder& folder() const { return folder_; }

 private:
  test::ScratchFolder folder_;
  std::wstring previous_;
};

}  // namespace skin_test

// The entries a favorites copy is made of, and the path pieces the engine works with.
#pragma once
#include <string>
#include <vector>

namespace bookvault {

std::wstring Join(const std::wstring& folder, const std::wstring& name);
std::wstring Leaf(const std::wstring& path);
std::wstring Parent(const std::wstring& path);
bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);
bool SamePath(const std::wstring& a, const std::wstring& b);  // as the file system compares names

// The top-level entries of folder, in the file system's order, as full paths: every sub-folder
// (whole, whatever its name) and every file whose name ends in "url" in any letter case; links and
// junctions never. Other files
// (desktop.ini, other shortcuts) are never listed, so never copied, deleted or restored. A missing
// folder lists as empty. False when the folder cannot be read, or an entry's path is too long for
// the file calls to copy or delete it.
bool ListEntries(const std::wstring& folder, std::vector<std::wstring>* entries);

}  // namespace bookvault

#include "pages/home_registry/registry_scan.h"

#include <climits>
#include <cwchar>

#include "contracts/hivescrub.h"
#include "contracts/messages.h"

namespace registry_scan {

std::vector<int> SelectedCategories(const Selection& selection) {
  std::vector<int> categories;
  for (int c = 1; c <= kCategories; ++c)
    if (selection[c]) categories.push_back(c);
  return categories;
}

std::wstring ReportText(const COPYDATASTRUCT& data) {
  if (!data.lpData) return std::wstring();
  const auto* text = static_cast<const wchar_t*>(data.lpData);
  size_t capacity = data.cbData / sizeof(wchar_t);
  size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  return std::wstring(text, length);
}

bool ParseProblem(const std::wstring& text, int category, RegistryProblem* problem) {
  size_t p1 = text.find(L'|');
  if (p1 == std::wstring::npos) return false;
  size_t p2 = text.find(L'|', p1 + 1);
  if (p2 == std::wstring::npos) return false;
  std::wstring number = text.substr(0, p1);
  long id = wcstol(number.c_str(), nullptr, 10);
  if (id > INT_MAX) id = INT_MAX;
  if (id < INT_MIN) id = INT_MIN;
  problem->id = static_cast<int>(id);
  problem->repair = text.substr(p1 + 1, p2 - p1 - 1);
  problem->display = text.substr(p2 + 1);
  problem->category = category;
  return true;
}

Job::Job(HWND page, std::vector<int> categories)
    : ScanJob(page, page_msg::kRegistryFinished), categories_(std::move(categories)) {}

void Job::Run() {
  for (int c : categories_) {
    if (!GoOn()) return;
    if (c >= 1 && c <= kCategories) hivescrub::kScans[c](reportWindow());
  }
}

}  // namespace registry_scan

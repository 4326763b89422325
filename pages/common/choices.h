// The choices a page offers as check boxes numbered from 1 (the registry cleaner's categories, the
// one-click scan's groups): an array of flags, 1 chosen and 0 not, whose index 0 stands for none
// of them (no category; the "Overall" tab) and is never chosen.
#pragma once
#include <cstddef>

namespace common_pages {

// Every choice chosen.
template <class Choices>
Choices AllChosen() {
  Choices all;
  all.fill(1);
  all[0] = 0;
  return all;
}

template <class Choices>
int CountChosen(const Choices& choices) {
  int count = 0;
  for (size_t c = 1; c < choices.size(); ++c) count += choices[c] ? 1 : 0;
  return count;
}

}  // namespace common_pages

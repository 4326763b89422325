// Checking a category against seeded entries: exactly the expected problems are reported, and
// repairing them and importing the undo file gives back byte-identical exports of the keys.
#pragma once
#include <string>
#include <vector>

#include "hivescrub_support.h"

namespace hstest {

struct Expected {
  int id;
  std::wstring title;   // compared without regard to case
  std::wstring detail;  // a part of the detail, usually the missing target
};

// Scans category c and checks that the problems are exactly the expected ones, in any order.
std::vector<Problem> ExpectExactly(int c, const std::vector<Expected>& expected);

// Repairs every problem (each repair must change the registry), checks the category is then clean,
// imports the session's undo file and checks that each key of `keys` exports as before and that the
// problems are back.
void RepairAndUndo(int c, const std::vector<Problem>& problems, const std::vector<std::wstring>& keys,
                   const test::ProgramFolder& program);

}  // namespace hstest

// What the engine's tests share: running a category scan into a recorder, splitting its problem
// reports, exporting keys with the system's registry editor, and finding the undo files in a
// scratch program folder.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/program_folder.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace hstest {

struct Problem {
  int category = 0;
  int id = 0;
  std::wstring repair;
  std::wstring title;
  std::wstring detail;
  std::wstring text;  // the whole report text
};

// Runs the scan of category c (1-15) against a fresh recorder and returns its reports.
std::vector<test::Report> RunCategory(int c, test::ReportRecorder* recorder = nullptr);
// The problem reports among reports, split as the program splits them.
std::vector<Problem> ProblemsOf(const std::vector<test::Report>& reports);
std::vector<Problem> ScanProblems(int c);
std::wstring Describe(const std::vector<Problem>& problems);

// "regedit /e" of one key into bytes; empty when the key does not exist.
std::vector<char> ExportKey(const std::wstring& fullKeyPath);
// "regedit /s" of a .reg file.
bool ImportFile(const std::wstring& path);

// The undo files the engine has written in the program folder, full paths.
std::vector<std::wstring> UndoFiles(const test::ProgramFolder& program);
// The .reg files in a folder, full paths.
std::vector<std::wstring> RegFiles(const std::wstring& folder);

}  // namespace hstest

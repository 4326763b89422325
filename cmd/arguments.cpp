#include "cmd/arguments.h"

#include <windows.h>

#include <algorithm>

#include "contracts/messages.h"
#include "pages/cleaning/trace_categories.h"

namespace cmd {
namespace {

constexpr int kTraceCategories = cleaning_pages::kTraceCategories;
constexpr int kRegistryCategories = report_kind::kRegistryCategories;

// Only what a user types for these options is taken: ASCII letters, digits, ":", ",", "\".
bool Plain(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < 0x21 || c > 0x7E || c == L'"') return false;
  return true;
}

std::vector<std::wstring> Split(const std::wstring& list) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    size_t comma = list.find(L',', start);
    parts.push_back(list.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
    if (comma == std::wstring::npos) return parts;
    start = comma + 1;
  }
}

bool Numbers(const std::wstring& list, int low, int high, std::vector<int>* out) {
  for (const std::wstring& part : Split(list)) {
    if (part.empty() || part.size() > 2) return false;
    int n = 0;
    for (wchar_t c : part) {
      if (c < L'0' || c > L'9') return false;
      n = n * 10 + (c - L'0');
    }
    if (n < low || n > high || std::find(out->begin(), out->end(), n) != out->end()) return false;
    out->push_back(n);
  }
  std::sort(out->begin(), out->end());
  return true;
}

bool Drives(const std::wstring& list, std::vector<std::wstring>* out) {
  for (std::wstring part : Split(list)) {
    if (part.size() == 3 && part[2] == L'\\') part.pop_back();
    if (part.size() != 2 || part[1] != L':') return false;
    wchar_t letter = part[0] & ~0x20;
    if (letter < L'A' || letter > L'Z') return false;
    std::wstring root = {letter, L':', L'\\'};
    if (std::find(out->begin(), out->end(), root) != out->end()) return false;
    out->push_back(root);
  }
  return true;
}

}  // namespace

const wchar_t* UsageText() {
  return L"usage: LumaspanCmd scan|clean [--junk[=C:,D:]] [--traces[=0,1,...]] [--registry[=1,2,...]] [--all]\n"
         L"                  [--report FILE] [--json] [--quiet]\n"
         L"       LumaspanCmd unschedule    remove the options page's automatic cleaning task\n"
         L"       LumaspanCmd --help\n"
         L"  scan        list what the cleaners would remove: kind, category, location, name, size\n"
         L"  clean       remove it, as the cleaner pages do (registry repairs write their undo file first)\n"
         L"  --junk      junk files, on every fixed drive or the drives given\n"
         L"  --traces    privacy traces, in every category or the categories given (0-32)\n"
         L"  --registry  registry problems, in every category or the categories given (1-15)\n"
         L"  --all       all three (the default when none is given)\n"
         L"  --report    write the run to FILE (UTF-8 text, or JSON with --json); a * in the name\n"
         L"              becomes the run's time stamp and only the newest 30 such reports are kept\n"
         L"  --json      the run as a JSON document (on standard output without --report)\n"
         L"  --quiet     no listing and no progress; errors only\n"
         L"exit codes: 0 nothing found or all removed, 1 something could not be removed,\n"
         L"            2 bad arguments, 3 another Lumaspan scan or clean is running, 4 stopped (Ctrl+C)\n";
}

bool ParseArguments(const std::vector<std::wstring>& args, Arguments* out, std::wstring* error) {
  Arguments a;
  bool command = false, all = false, report = false;
  auto fail = [error](const std::wstring& text) {
    *error = text;
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    std::wstring name = arg, value;
    bool hasValue = false;
    if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
      size_t equals = arg.find(L'=');
      if (equals != std::wstring::npos) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
        hasValue = true;
      }
    }
    auto once = [&](bool& seen) {
      if (seen) return fail(L"the option " + name + L" is given twice");
      seen = true;
      return true;
    };
    if (name == L"scan" || name == L"clean" || name == L"unschedule") {
      if (command) return fail(L"only one command may be given: scan, clean or unschedule");
      command = true;
      a.clean = name == L"clean";
      a.unschedule = name == L"unschedule";
    } else if (name == L"--help" || name == L"-h" || name == L"/?") {
      if (hasValue) return fail(L"--help takes no value");
      a.help = true;
    } else if (name == L"--junk") {
      if (!once(a.junk)) return false;
      if (hasValue && (!Plain(value) || !Drives(value, &a.drives)))
        return fail(L"--junk= takes drive letters such as C:,D:");
    } else if (name == L"--traces") {
      if (!once(a.traces)) return false;
      if (hasValue && (!Plain(value) || !Numbers(value, 0, kTraceCategories - 1, &a.traceCategories)))
        return fail(L"--traces= takes category numbers from 0 to 32, each once");
    } else if (name == L"--registry") {
      if (!once(a.registry)) return false;
      if (hasValue && (!Plain(value) || !Numbers(value, 1, kRegistryCategories, &a.registryCategories)))
        return fail(L"--registry= takes category numbers from 1 to 15, each once");
    } else if (name == L"--all" || name == L"--json" || name == L"--quiet") {
      if (hasValue) return fail(name + L" takes no value");
      if (!once(name == L"--all" ? all : name == L"--json" ? a.json : a.quiet)) return false;
    } else if (name == L"--report") {
      if (!once(report)) return false;
      if (!hasValue) {
        if (i + 1 >= args.size()) return fail(L"--report needs a file name");
        value = args[++i];
      }
      if (value.empty()) return fail(L"--report needs a file name");
      a.report = value;
    } else if (!arg.empty() && (arg[0] == L'-' || arg[0] == L'/')) {
      return fail(L"unknown option: " + arg);
    } else {
      return fail(L"unknown command: " + arg);
    }
  }
  if (a.help) {
    *out = a;
    return true;
  }
  if (!command) return fail(L"a command is needed: scan or clean");
  if (a.unschedule) {
    if (args.size() != 1) return fail(L"unschedule takes no options");
    *out = a;
    return true;
  }
  if (all && (a.junk || a.traces || a.registry)) return fail(L"--all cannot be combined with --junk, --traces or --registry");
  if (all || !(a.junk || a.traces || a.registry)) a.junk = a.traces = a.registry = true;
  *out = a;
  return true;
}

}  // namespace cmd

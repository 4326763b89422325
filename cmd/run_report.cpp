#include "cmd/run_report.h"

#include <cwchar>

namespace cmd {
namespace {

const wchar_t* StateWord(State state) {
  switch (state) {
    case State::kRemoved: return L"removed";
    case State::kFailed: return L"not removed";
    case State::kFound: break;
  }
  return L"found";
}

std::wstring ShownName(const Item& item) {
  return item.kind == Kind::kRegistry && item.name.empty() && item.repair.find(L';', item.repair.find(L';') + 1) != std::wstring::npos
             ? std::wstring(L"(Default)")
             : item.name;
}

struct Totals {
  size_t found = 0, removed = 0, failed = 0;
  unsigned long long bytes = 0, removedBytes = 0;
};

Totals Count(const std::vector<Item>& items) {
  Totals t;
  for (const Item& item : items) {
    ++t.found;
    t.bytes += item.size;
    if (item.state == State::kRemoved) {
      ++t.removed;
      t.removedBytes += item.size;
    }
    if (item.state == State::kFailed) ++t.failed;
  }
  return t;
}

}  // namespace

std::wstring ItemLine(const Item& item, bool clean) {
  std::wstring line = std::wstring(KindWord(item.kind)) + L"\t" + item.category + L"\t" + item.location + L"\t" +
                      ShownName(item) + L"\t" + std::to_wstring(item.size);
  if (clean) line += std::wstring(L"\t") + StateWord(item.state);
  return line + L"\n";
}

std::wstring TotalLine(const std::vector<Item>& items, const RunSummary& run) {
  Totals t = Count(items);
  std::wstring line = L"Found " + std::to_wstring(t.found) + L" item(s), " + std::to_wstring(t.bytes) + L" bytes";
  if (run.clean)
    line += L"; removed " + std::to_wstring(t.removed) + L" (" + std::to_wstring(t.removedBytes) + L" bytes), " +
            std::to_wstring(t.failed) + L" could not be removed";
  if (run.stopped) line += L"; stopped before the end";
  return line + L"\n";
}

std::wstring TextDocument(const std::vector<Item>& items, const RunSummary& run) {
  std::wstring text = std::wstring(L"Lumaspan ") + (run.clean ? L"clean" : L"scan") + L", " + run.started + L"\n";
  for (const Item& item : items) text += ItemLine(item, run.clean);
  text += TotalLine(items, run);
  for (const Item& item : items)
    if (item.state == State::kFailed) text += L"Not removed: " + item.location + (item.kind == Kind::kJunk ? L"" : L" ") + ShownName(item) + L" (" + item.why + L")\n";
  text += L"Exit code " + std::to_wstring(run.exitCode) + L"\n";
  return text;
}

std::wstring JsonString(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      default:
        if (c < 0x20) {
          wchar_t escape[8];
          swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;  // UTF-16 pairs stay pairs: the document is written as UTF-8 whole
        }
    }
  }
  return out + L"\"";
}

std::wstring JsonDocument(const std::vector<Item>& items, const RunSummary& run) {
  Totals t = Count(items);
  std::wstring json = L"{\n  \"schema\": \"lumaspan-cmd/1\",\n";
  json += std::wstring(L"  \"command\": ") + (run.clean ? L"\"clean\"" : L"\"scan\"") + L",\n";
  json += L"  \"started\": " + JsonString(run.started) + L",\n";
  json += std::wstring(L"  \"stopped\": ") + (run.stopped ? L"true" : L"false") + L",\n";
  json += L"  \"items\": [";
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    std::wstring kind = KindWord(item.kind);
    kind[0] = static_cast<wchar_t>(kind[0] | 0x20);
    json += i ? L",\n    {" : L"\n    {";
    json += L"\"kind\": " + JsonString(kind) + L", \"category\": " + JsonString(item.category) +
            L", \"location\": " + JsonString(item.location) + L", \"name\": " + JsonString(ShownName(item)) +
            L", \"size\": " + std::to_wstring(item.size) + L", \"state\": " + JsonString(StateWord(item.state));
    if (item.state == State::kFailed) json += L", \"reason\": " + JsonString(item.why);
    json += L"}";
  }
  json += items.empty() ? L"],\n" : L"\n  ],\n";
  json += L"  \"found\": " + std::to_wstring(t.found) + L",\n  \"bytes\": " + std::to_wstring(t.bytes) + L",\n";
  json += L"  \"removed\": " + std::to_wstring(t.removed) + L",\n  \"failed\": " + std::to_wstring(t.failed) + L",\n";
  json += L"  \"exitCode\": " + std::to_wstring(run.exitCode) + L"\n}\n";
  return json;
}

}  // namespace cmd

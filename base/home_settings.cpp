#include "base/home_settings.h"

#include <windows.h>

#include <cstdlib>

#include "base/handles.h"
#include "base/registry.h"

namespace home_settings {
namespace {

// The value as the leading decimal digits of its text; false when the key or value is missing.
bool ReadNumber(const wchar_t* name, int& number) {
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return false;
  wchar_t text[260] = {};
  if (!base::ReadRegistryString(key.get(), name, text, 260)) return false;
  number = _wtoi(text);
  return true;
}

}  // namespace

int StatusFromScore(int score) {
  if (score == kCleanedScore) return kStatusCleaned;
  if (score < 0 || score > 100) return kStatusUnknown;
  if (score <= 25) return 0;
  if (score <= 50) return 1;
  if (score <= 75) return 2;
  return 3;
}

int ReadSystemStatus() {
  int score = 0;
  return ReadNumber(kSystemStatus, score) ? StatusFromScore(score) : kStatusUnknown;
}

int ReadErrorNumber() {
  int number = 0;
  return ReadNumber(kErrorNumber, number) ? number : 0;
}

int ReadCleanNumber() {
  int number = 0;
  return ReadNumber(kCleanNumber, number) ? number : 0;
}

}  // namespace home_settings

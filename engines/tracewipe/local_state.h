// The profiles a Chromium-family browser lists in the "Local State" file of its user-data folder:
// the member names of "profile" -> "info_cache", each the name of the profile's folder. The file
// is JSON written by the browser, but anything may have written it: the reader is strict and
// bounded (size, nesting, string length, number of profiles) and any fault in the text gives no
// names at all, so the caller falls back to the folders it finds.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tracewipe {

constexpr size_t kLargestLocalState = 8 << 20;  // the browsers write some hundred kilobytes at most
constexpr size_t kMostProfiles = 1000;

// The profile folder names of a "Local State" text (UTF-8), in the order listed. False, and no
// names, when the text is not one well-formed JSON document of at most kLargestLocalState bytes
// and 64 levels of nesting, holds a malformed UTF-8 sequence or escape, or lists more than
// kMostProfiles profiles.
bool ReadLocalStateProfiles(std::string_view text, std::vector<std::wstring>* names);

}  // namespace tracewipe

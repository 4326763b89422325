// The product's own texts: its name as message boxes and windows show it, its version and its
// places on the web.
#pragma once

namespace product {

constexpr wchar_t kCaption[] = L"Lumaspan";
constexpr wchar_t kVersion[] = L"3.1.1.10079";
constexpr wchar_t kWebSite[] = L"http://www.lumaspan.com/";
constexpr wchar_t kHelpPage[] = L"http://www.lumaspan.com/help/";
constexpr wchar_t kWebAddress[] = L"www.lumaspan.com";  // as shown
constexpr wchar_t kSupportMail[] = L"mailto:support@lumaspan.com";
constexpr wchar_t kSupportAddress[] = L"support@lumaspan.com";  // as shown
constexpr wchar_t kTagline[] = L"Keeps your PC clean, fast and private";
constexpr wchar_t kPlatforms[] = L"MS Windows 2000, NT, XP, Vista, Win7";

}  // namespace product

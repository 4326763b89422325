// The system optimizer page's models: radio button and description of model 0-5.
#pragma once

namespace optimizer_pages {

constexpr int kModelCount = 6;
extern const wchar_t* const kModelDescriptions[kModelCount];

}  // namespace optimizer_pages

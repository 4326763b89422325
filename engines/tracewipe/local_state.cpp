#include "engines/tracewipe/local_state.h"

#include <cstdint>

namespace tracewipe {
namespace {

const int kDeepest = 64;
const size_t kLongestString = 1 << 16;  // characters; a profile name is a short folder name

// Where a value lies: the document, "profile", "profile" -> "info_cache", or anywhere else.
enum class Place { Root, Profile, InfoCache, Other };

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Document(std::vector<std::wstring>* names) {
    names_ = names;
    if (text_.size() >= 3 && text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
    if (!Value(Place::Root, 0)) return false;
    Space();
    return at_ == text_.size();
  }

 private:
  bool More() const { return at_ < text_.size(); }
  char Peek() const { return More() ? text_[at_] : '\0'; }

  void Space() {
    while (More() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n')) ++at_;
  }

  bool Literal(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  bool Value(Place place, int depth) {
    if (depth > kDeepest) return false;
    Space();
    switch (Peek()) {
      case '{': return Object(place, depth);
      case '[': return Array(depth);
      case '"': {
        std::wstring ignored;
        return String(&ignored);
      }
      case 't': return Literal("true");
      case 'f': return Literal("false");
      case 'n': return Literal("null");
      default: return Number();
    }
  }

  bool Object(Place place, int depth) {
    ++at_;  // '{'
    Space();
    if (Peek() == '}') {
      ++at_;
      return true;
    }
    for (;;) {
      Space();
      std::wstring key;
      if (Peek() != '"' || !String(&key)) return false;
      Space();
      if (Peek() != ':') return false;
      ++at_;
      Place inner = Place::Other;
      if (place == Place::Root && key == L"profile") inner = Place::Profile;
      if (place == Place::Profile && key == L"info_cache") inner = Place::InfoCache;
      if (place == Place::InfoCache) {
        if (names_->size() == kMostProfiles) return false;
        names_->push_back(key);
      }
      if (!Value(inner, depth + 1)) return false;
      Space();
      if (Peek() == ',') {
        ++at_;
        continue;
      }
      if (Peek() != '}') return false;
      ++at_;
      return true;
    }
  }

  bool Array(int depth) {
    ++at_;  // '['
    Space();
    if (Peek() == ']') {
      ++at_;
      return true;
    }
    for (;;) {
      if (!Value(Place::Other, depth + 1)) return false;
      Space();
      if (Peek() == ',') {
        ++at_;
        continue;
      }
      if (Peek() != ']') return false;
      ++at_;
      return true;
    }
  }

  bool Digits() {
    size_t start = at_;
    while (More() && Peek() >= '0' && Peek() <= '9') ++at_;
    return at_ > start;
  }

  bool Number() {
    if (Peek() == '-') ++at_;
    if (Peek() == '0') {
      ++at_;
    } else if (!Digits()) {
      return false;
    }
    if (Peek() == '.') {
      ++at_;
      if (!Digits()) return false;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++at_;
      if (Peek() == '+' || Peek() == '-') ++at_;
      if (!Digits()) return false;
    }
    return true;
  }

  bool Hex4(uint32_t* unit) {
    if (at_ + 4 > text_.size()) return false;
    *unit = 0;
    for (int i = 0; i < 4; ++i) {
      char c = text_[at_++];
      uint32_t digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 16;
      if (digit == 16) return false;
      *unit = *unit * 16 + digit;
    }
    return true;
  }

  void Put(std::wstring* out, uint32_t code) {
    if (code >= 0x10000) {
      code -= 0x10000;
      out->push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      out->push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out->push_back(static_cast<wchar_t>(code));
    }
  }

  // One UTF-8 sequence, checked as the standard defines it: no overlong forms, no surrogates, at
  // most U+10FFFF.
  bool Utf8(uint32_t* code) {
    unsigned char lead = static_cast<unsigned char>(text_[at_++]);
    int follow = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
      *code = lead;
      return true;
    } else if ((lead & 0xE0) == 0xC0) {
      follow = 1, least = 0x80, *code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      follow = 2, least = 0x800, *code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      follow = 3, least = 0x10000, *code = lead & 0x07;
    } else {
      return false;
    }
    for (int i = 0; i < follow; ++i) {
      if (!More() || (static_cast<unsigned char>(Peek()) & 0xC0) != 0x80) return false;
      *code = (*code << 6) | (static_cast<unsigned char>(text_[at_++]) & 0x3F);
    }
    return *code >= least && *code <= 0x10FFFF && !(*code >= 0xD800 && *code <= 0xDFFF);
  }

  bool Escape(std::wstring* out) {
    char c = Peek();
    ++at_;
    switch (c) {
      case '"': out->push_back(L'"'); return true;
      case '\\': out->push_back(L'\\'); return true;
      case '/': out->push_back(L'/'); return true;
      case 'b': out->push_back(L'\b'); return true;
      case 'f': out->push_back(L'\f'); return true;
      case 'n': out->push_back(L'\n'); return true;
      case 'r': out->push_back(L'\r'); return true;
      case 't': out->push_back(L'\t'); return true;
      case 'u': break;
      default: return false;
    }
    uint32_t unit = 0;
    if (!Hex4(&unit)) return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;  // a second half alone
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      uint32_t low = 0;
      if (!Literal("\\u") || !Hex4(&low) || low < 0xDC00 || low > 0xDFFF) return false;
      unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    Put(out, unit);
    return true;
  }

  bool String(std::wstring* out) {
    ++at_;  // '"'
    for (;;) {
      if (!More() || out->size() > kLongestString) return false;
      char c = Peek();
      if (c == '"') {
        ++at_;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c == '\\') {
        ++at_;
        if (!Escape(out)) return false;
        continue;
      }
      uint32_t code = 0;
      if (!Utf8(&code)) return false;
      Put(out, code);
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  std::vector<std::wstring>* names_ = nullptr;
};

}  // namespace

bool ReadLocalStateProfiles(std::string_view text, std::vector<std::wstring>* names) {
  names->clear();
  if (text.empty() || text.size() > kLargestLocalState) return false;
  if (Reader(text).Document(names)) return true;
  names->clear();
  return false;
}

}  // namespace tracewipe

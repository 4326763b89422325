#include "base/text_file.h"

#include <vector>

void CTextFileBase::Close() {
  file_.reset();
  endOfFile_ = true;
}

CTextFileRead::CTextFileRead(const wchar_t* path) {
  if (path) {
    file_.reset(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
  }
  endOfFile_ = !file_.valid();
  if (file_.valid()) DetectEncoding();
}

void CTextFileRead::Rewind() {
  SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN);
  bufferIndex_ = -1;
  bufferSize_ = 0;
  endOfFile_ = false;
  hasPushBack_ = false;
  firstLine_ = true;
}

void CTextFileRead::DetectEncoding() {
  int first = NextByte();
  int second = NextByte();
  if (first == 0xFF && second == 0xFE) {
    encoding_ = UNI16LE;
  } else if (first == 0xFE && second == 0xFF) {
    encoding_ = UNI16BE;
  } else if (first == 0xEF && second == 0xBB && NextByte() == 0xBF) {
    encoding_ = UTF8;
  } else {
    // No mark: the bytes read belong to the text.
    encoding_ = ASCII;
    Rewind();
  }
  firstLine_ = true;
}

int CTextFileRead::NextByte() {
  if (endOfFile_ || !file_.valid()) return kEnd;
  if (bufferIndex_ + 1 >= bufferSize_) {
    DWORD read = 0;
    if (!ReadFile(file_.get(), buffer_, kBufferSize, &read, nullptr)) {
      DWORD error = GetLastError();
      Close();
      throw CTextFileException(error);
    }
    bufferIndex_ = -1;
    bufferSize_ = static_cast<int>(read);
    if (read == 0) {
      endOfFile_ = true;
      return kEnd;
    }
  }
  return buffer_[++bufferIndex_];
}

int CTextFileRead::DecodeUtf8(int first) {
  int ones = 0;
  while (ones < 8 && (first & (0x80 >> ones))) ++ones;
  if (ones == 0) return first;
  if (ones == 2) {
    int b1 = NextByte();
    if (b1 == kEnd) return kEnd;
    return ((first & 0x1F) << 6) | (b1 & 0x3F);
  }
  if (ones == 3) {
    int b1 = NextByte();
    int b2 = b1 == kEnd ? kEnd : NextByte();
    if (b2 == kEnd) return kEnd;
    return ((first & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
  }
  return 0xFFFD;
}

int CTextFileRead::NextUnit() {
  if (hasPushBack_) {
    hasPushBack_ = false;
    return encoding_ == ASCII ? pushBackByte_ : pushBackChar_;
  }
  int b0 = NextByte();
  if (b0 == kEnd) return kEnd;
  switch (encoding_) {
    case UNI16LE:
    case UNI16BE: {
      int b1 = NextByte();
      if (b1 == kEnd) return kEnd;  // half a character at the end is no character
      return encoding_ == UNI16LE ? (b0 | (b1 << 8)) : ((b0 << 8) | b1);
    }
    case UTF8:
      return DecodeUtf8(b0);
    default:
      return b0;
  }
}

bool CTextFileRead::ReadUnits(std::wstring& units) {
  units.clear();
  if (endOfFile_) return false;
  int c = NextUnit();
  if (!firstLine_) {
    // c is the terminator the previous line left behind.
    if (c == L'\r') {
      c = NextUnit();
      if (c == L'\n') c = NextUnit();
    } else if (c == L'\n') {
      c = NextUnit();
    }
  }
  firstLine_ = false;
  while (c != kEnd && c != L'\r' && c != L'\n') {
    units.push_back(static_cast<wchar_t>(c));
    c = NextUnit();
  }
  if (c != kEnd) {
    hasPushBack_ = true;
    pushBackByte_ = static_cast<unsigned char>(c);
    pushBackChar_ = static_cast<wchar_t>(c);
  }
  return true;
}

bool CTextFileRead::ReadLine(std::wstring& line) {
  std::wstring units;
  if (!ReadUnits(units)) {
    line.clear();
    return false;
  }
  if (encoding_ != ASCII) {
    line.swap(units);
    return true;
  }
  // An ANSI line is converted whole, so a double-byte character is never split.
  std::string bytes(units.begin(), units.end());
  line.clear();
  if (bytes.empty()) return true;
  int n = MultiByteToWideChar(codePage_, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n > 0) {
    line.resize(n);
    MultiByteToWideChar(codePage_, 0, bytes.data(), static_cast<int>(bytes.size()), &line[0], n);
  }
  return true;
}

bool CTextFileRead::ReadLine(std::string& line) {
  std::wstring units;
  if (!ReadUnits(units)) {
    line.clear();
    return false;
  }
  line.clear();
  if (encoding_ == ASCII) {
    line.assign(units.begin(), units.end());
    return true;
  }
  if (units.empty()) return true;
  // UTF-7 and UTF-8 accept no default-character flag.
  bool utf = codePage_ == CP_UTF8 || codePage_ == CP_UTF7;
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(codePage_, 0, units.data(), static_cast<int>(units.size()), nullptr, 0, nullptr,
                              utf ? nullptr : &usedDefault);
  if (n > 0) {
    line.resize(n);
    WideCharToMultiByte(codePage_, 0, units.data(), static_cast<int>(units.size()), &line[0], n, nullptr,
                        utf ? nullptr : &usedDefault);
  }
  if (usedDefault) dataLost_ = true;
  return true;
}

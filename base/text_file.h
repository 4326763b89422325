// Reading text files line by line in the encoding their byte-order mark declares (UTF-16 either
// way round, UTF-8), or in an ANSI code page when there is none. Lines end at CR LF, LF or a lone
// CR. Used for the update file and the list of unsafe ActiveX controls.
#pragma once
#include <windows.h>

#include <string>

#include "base/handles.h"

// A read error: the system error code of the failed ReadFile. The file is closed when it is thrown.
class CTextFileException {
 public:
  explicit CTextFileException(DWORD error) : error_(error) {}
  DWORD GetError() const { return error_; }

 private:
  DWORD error_;
};

class CTextFileBase {
 public:
  enum TEXTENCODING { ASCII = 0, UNI16BE = 1, UNI16LE = 2, UTF8 = 3 };

  virtual ~CTextFileBase() = default;
  virtual void Close();

  bool IsOpen() const { return file_.valid(); }
  TEXTENCODING GetEncoding() const { return encoding_; }
  // The code page of ANSI files and of narrow lines (default: the system's ANSI code page).
  void SetCodePage(UINT codePage) { codePage_ = codePage; }
  UINT GetCodePage() const { return codePage_; }
  // Whether a conversion to the narrow code page had to use its default character.
  bool IsDataLost() const { return dataLost_; }
  void ResetDataLostFlag() { dataLost_ = false; }

 protected:
  CTextFileBase() = default;

  static constexpr int kBufferSize = 1024;

  TEXTENCODING encoding_ = ASCII;
  base::UniqueFile file_;
  unsigned char buffer_[kBufferSize] = {};
  int bufferIndex_ = -1;  // the last byte served from the buffer
  int bufferSize_ = 0;    // valid bytes in the buffer
  bool endOfFile_ = false;
  bool hasPushBack_ = false;
  unsigned char pushBackByte_ = 0;
  wchar_t pushBackChar_ = 0;
  bool firstLine_ = true;
  UINT codePage_ = CP_ACP;
  bool dataLost_ = false;
};

class CTextFileRead : public CTextFileBase {
 public:
  explicit CTextFileRead(const wchar_t* path);

  // The next line, without its terminator; false once the end of the file was reached before the
  // call (a file that cannot be opened reads as empty). Throws CTextFileException on a read error.
  bool ReadLine(std::wstring& line);
  bool ReadLine(std::string& line);
  bool Eof() const { return endOfFile_; }

 private:
  static constexpr int kEnd = -1;

  void DetectEncoding();
  void Rewind();
  // The next byte of the file, or kEnd.
  int NextByte();
  // The next unit of text: a byte of an ANSI file, else a decoded UTF-16 character; or kEnd.
  int NextUnit();
  int DecodeUtf8(int first);
  // Collects one line's units (bytes of an ANSI file, characters otherwise); false at the end.
  bool ReadUnits(std::wstring& units);
};

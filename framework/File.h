// Files: CFile (bytes), CStdioFile (text lines), CMemFile (bytes in memory).
// Opening or I/O failures throw CFileException, as the program's callers expect.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/CString.h"
#include "framework/Handles.h"

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

  CFile() = default;
  CFile(const char* fileName, UINT openFlags);  // throws CFileException
  virtual ~CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens without throwing; on failure returns FALSE with the error in *error if given.
  virtual BOOL Open(const char* fileName, UINT openFlags, DWORD* error = nullptr);
  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  virtual ULONGLONG GetLength() const;
  virtual void Flush();
  virtual void Close();
  const CString& GetFilePath() const { return m_fileName; }
  bool IsOpen() const { return bool(m_file); }

 protected:
  [[noreturn]] void Fail(DWORD error) const;
  FileHandle m_file;
  CString m_fileName;
};

// A text file read and written line by line. Lines end in LF or CR LF; the end is not kept.
class CStdioFile : public CFile {
 public:
  CStdioFile() = default;
  CStdioFile(const char* fileName, UINT openFlags) : CFile(fileName, openFlags), m_text(!(openFlags & typeBinary)) {}

  // Reads the next line into `line`; FALSE at the end of the file with nothing read.
  BOOL ReadString(CString& line);
  // Writes the text; in text mode each "\n" becomes CR LF.
  void WriteString(const char* text);
  BOOL Open(const char* fileName, UINT openFlags, DWORD* error = nullptr) override;

 private:
  bool FillBuffer();
  std::vector<char> m_buffer;
  size_t m_bufferPos = 0;
  bool m_text = true;
};

// A growable block of memory read and written like a file.
class CMemFile : public CFile {
 public:
  CMemFile() = default;
  CMemFile(const BYTE* data, UINT size) : m_data(data, data + size) {}
  BOOL Open(const char*, UINT, DWORD* = nullptr) override { return TRUE; }
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetLength() const override { return m_data.size(); }
  void Flush() override {}
  void Close() override {}
  const std::vector<BYTE>& Data() const { return m_data; }

 private:
  std::vector<BYTE> m_data;
  size_t m_position = 0;
};

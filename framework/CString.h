// CString: the program's 8-bit text type. Copies share their characters until one of
// them is changed (copy on write); everything runs on one thread, so the share count
// needs no locking.
#pragma once

#include <cstdarg>
#include <cstddef>

class CString {
 public:
  CString();
  CString(const char* text);  // NOLINT: converts implicitly, like the framework's string
  CString(const char* text, int length);
  CString(char ch, int repeat = 1);
  CString(const CString& other);
  CString(CString&& other) noexcept;
  ~CString();

  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  CString& operator=(const char* text);

  int GetLength() const;
  bool IsEmpty() const { return GetLength() == 0; }
  void Empty();
  operator const char*() const;  // NOLINT: the framework's string reads as a C string
  const char* GetString() const { return *this; }
  char GetAt(int index) const;
  char operator[](int index) const { return GetAt(index); }
  void SetAt(int index, char ch);

  CString& operator+=(const CString& text);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(const CString& a, char b);

  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;
  friend bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }

  // Searching: positions are 0-based, -1 when not found.
  int Find(char ch, int start = 0) const;
  int Find(const char* text, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* chars) const;

  // Extraction: out-of-range counts and positions are clamped, never an error.
  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;

  // Changes in place; each returns the string or a count like the framework's.
  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& TrimLeft(char ch);
  CString& TrimRight(char ch);
  CString& MakeUpper();
  CString& MakeLower();
  int Replace(char from, char to);
  int Replace(const char* from, const char* to);
  int Remove(char ch);
  int Delete(int index, int count = 1);
  int Insert(int index, const char* text);

  void Format(const char* format, ...);
  void FormatV(const char* format, va_list args);
  void AppendFormat(const char* format, ...);

  // Direct access for APIs that write into a buffer: GetBuffer gives room for at least
  // minLength characters plus the terminator; ReleaseBuffer ends the text at newLength,
  // or at the first zero when newLength is -1.
  char* GetBuffer(int minLength = 0);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

 private:
  struct Data;
  Data* m_data;

  static Data* Allocate(int capacity);
  static void Release(Data* data);
  void Assign(const char* text, int length);
  void Append(const char* text, int length);
  void MakeUnique(int capacity);
};

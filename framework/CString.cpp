#include "framework/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <strings.h>

// Header of a shared text block; the characters follow it in the same allocation.
struct CString::Data {
  int refs;
  int length;
  int capacity;
  char* chars() { return reinterpret_cast<char*>(this + 1); }
};

namespace {
// One shared empty block so default strings allocate nothing. It is never released.
struct EmptyBlock {
  int refs = 1 << 30;
  int length = 0;
  int capacity = 0;
  char zero = 0;
} g_empty;

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }
}  // namespace

CString::Data* CString::Allocate(int capacity) {
  auto* block = static_cast<Data*>(std::malloc(sizeof(Data) + size_t(capacity) + 1));
  if (!block) throw std::bad_alloc();
  block->refs = 1;
  block->length = 0;
  block->capacity = capacity;
  block->chars()[0] = 0;
  return block;
}

void CString::Release(Data* data) {
  if (data == reinterpret_cast<Data*>(&g_empty)) return;
  if (--data->refs == 0) std::free(data);
}

CString::CString() : m_data(reinterpret_cast<Data*>(&g_empty)) {}
CString::CString(const char* text) : CString() {
  if (text) Assign(text, int(std::strlen(text)));
}
CString::CString(const char* text, int length) : CString() {
  if (text && length > 0) Assign(text, length);
}
CString::CString(char ch, int repeat) : CString() {
  if (repeat <= 0) return;
  MakeUnique(repeat);
  std::memset(m_data->chars(), ch, size_t(repeat));
  m_data->length = repeat;
  m_data->chars()[repeat] = 0;
}
CString::CString(const CString& other) : m_data(other.m_data) {
  if (m_data != reinterpret_cast<Data*>(&g_empty)) ++m_data->refs;
}
CString::CString(CString&& other) noexcept : m_data(other.m_data) { other.m_data = reinterpret_cast<Data*>(&g_empty); }
CString::~CString() { Release(m_data); }

CString& CString::operator=(const CString& other) {
  if (m_data == other.m_data) return *this;
  CString copy(other);
  std::swap(m_data, copy.m_data);
  return *this;
}
CString& CString::operator=(CString&& other) noexcept {
  std::swap(m_data, other.m_data);
  return *this;
}
CString& CString::operator=(const char* text) {
  CString copy(text);  // text may point into this string
  std::swap(m_data, copy.m_data);
  return *this;
}

int CString::GetLength() const { return m_data->length; }
void CString::Empty() { *this = CString(); }
CString::operator const char*() const { return m_data->chars(); }

char CString::GetAt(int index) const { return index >= 0 && index < GetLength() ? m_data->chars()[index] : 0; }
void CString::SetAt(int index, char ch) {
  if (index < 0 || index >= GetLength()) return;
  MakeUnique(GetLength());
  m_data->chars()[index] = ch;
}

// Gives this string a block of its own with room for at least `capacity` characters.
void CString::MakeUnique(int capacity) {
  bool shared = m_data->refs > 1 || m_data == reinterpret_cast<Data*>(&g_empty);
  if (!shared && m_data->capacity >= capacity) return;
  int room = std::max(capacity, m_data->length);
  if (!shared) room = std::max(room, m_data->capacity + m_data->capacity / 2);
  Data* block = Allocate(room);
  block->length = m_data->length;
  std::memcpy(block->chars(), m_data->chars(), size_t(m_data->length) + 1);
  Release(m_data);
  m_data = block;
}

void CString::Assign(const char* text, int length) {
  Data* block = Allocate(length);
  std::memcpy(block->chars(), text, size_t(length));
  block->chars()[length] = 0;
  block->length = length;
  Release(m_data);
  m_data = block;
}

void CString::Append(const char* text, int length) {
  if (length <= 0) return;
  CString keep(*this);  // keeps `text` alive if it points into this string
  MakeUnique(GetLength() + length);
  std::memmove(m_data->chars() + m_data->length, text, size_t(length));
  m_data->length += length;
  m_data->chars()[m_data->length] = 0;
}

CString& CString::operator+=(const CString& text) {
  Append(text, text.GetLength());
  return *this;
}
CString& CString::operator+=(const char* text) {
  if (text) Append(text, int(std::strlen(text)));
  return *this;
}
CString& CString::operator+=(char ch) {
  Append(&ch, 1);
  return *this;
}
CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, const char* b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const char* a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(const char* text) const { return std::strcmp(*this, text ? text : ""); }
int CString::CompareNoCase(const char* text) const { return strcasecmp(*this, text ? text : ""); }

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  const char* hit = static_cast<const char*>(std::memchr(m_data->chars() + start, ch, size_t(GetLength() - start)));
  return hit ? int(hit - m_data->chars()) : -1;
}
int CString::Find(const char* text, int start) const {
  if (!text || start < 0 || start > GetLength()) return -1;
  const char* hit = std::strstr(m_data->chars() + start, text);
  return hit ? int(hit - m_data->chars()) : -1;
}
int CString::ReverseFind(char ch) const {
  const char* hit = std::strrchr(m_data->chars(), ch);
  return hit && ch ? int(hit - m_data->chars()) : -1;
}
int CString::FindOneOf(const char* chars) const {
  size_t at = std::strcspn(m_data->chars(), chars ? chars : "");
  return int(at) < GetLength() ? int(at) : -1;
}

CString CString::Left(int count) const { return CString(*this, Clamp(count, 0, GetLength())); }
CString CString::Right(int count) const {
  count = Clamp(count, 0, GetLength());
  return CString(m_data->chars() + GetLength() - count, count);
}
CString CString::Mid(int first) const { return Mid(first, GetLength()); }
CString CString::Mid(int first, int count) const {
  first = Clamp(first, 0, GetLength());
  count = Clamp(count, 0, GetLength() - first);
  return CString(m_data->chars() + first, count);
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::TrimLeft() {
  int skip = 0;
  while (skip < GetLength() && std::isspace(static_cast<unsigned char>(GetAt(skip)))) ++skip;
  if (skip) Delete(0, skip);
  return *this;
}
CString& CString::TrimRight() {
  int end = GetLength();
  while (end > 0 && std::isspace(static_cast<unsigned char>(GetAt(end - 1)))) --end;
  if (end < GetLength()) Delete(end, GetLength() - end);
  return *this;
}
CString& CString::TrimLeft(char ch) {
  int skip = 0;
  while (skip < GetLength() && GetAt(skip) == ch) ++skip;
  if (skip) Delete(0, skip);
  return *this;
}
CString& CString::TrimRight(char ch) {
  int end = GetLength();
  while (end > 0 && GetAt(end - 1) == ch) --end;
  if (end < GetLength()) Delete(end, GetLength() - end);
  return *this;
}
CString& CString::MakeUpper() {
  MakeUnique(GetLength());
  for (char* p = m_data->chars(); *p; ++p) *p = char(std::toupper(static_cast<unsigned char>(*p)));
  return *this;
}
CString& CString::MakeLower() {
  MakeUnique(GetLength());
  for (char* p = m_data->chars(); *p; ++p) *p = char(std::tolower(static_cast<unsigned char>(*p)));
  return *this;
}

int CString::Replace(char from, char to) {
  if (Find(from) < 0) return 0;
  MakeUnique(GetLength());
  int count = 0;
  for (int i = 0; i < GetLength(); ++i)
    if (m_data->chars()[i] == from) m_data->chars()[i] = to, ++count;
  return count;
}

// Replaces non-overlapping occurrences in one left-to-right pass.
int CString::Replace(const char* from, const char* to) {
  int fromLength = from ? int(std::strlen(from)) : 0;
  if (fromLength == 0) return 0;
  CString result;
  int count = 0, pos = 0;
  for (int hit; (hit = Find(from, pos)) >= 0; pos = hit + fromLength, ++count) {
    result.Append(m_data->chars() + pos, hit - pos);
    result += to;
  }
  if (count == 0) return 0;
  result.Append(m_data->chars() + pos, GetLength() - pos);
  *this = result;
  return count;
}

int CString::Remove(char ch) {
  CString result;
  int removed = 0;
  for (int i = 0; i < GetLength(); ++i) {
    if (GetAt(i) == ch) ++removed;
    else result += GetAt(i);
  }
  if (removed) *this = result;
  return removed;
}

int CString::Delete(int index, int count) {
  if (index < 0 || index >= GetLength() || count <= 0) return GetLength();
  count = std::min(count, GetLength() - index);
  MakeUnique(GetLength());
  char* chars = m_data->chars();
  std::memmove(chars + index, chars + index + count, size_t(GetLength() - index - count) + 1);
  m_data->length -= count;
  return GetLength();
}

int CString::Insert(int index, const char* text) {
  index = Clamp(index, 0, GetLength());
  *this = Left(index) + text + Mid(index);
  return GetLength();
}

void CString::FormatV(const char* format, va_list args) {
  va_list probe;
  va_copy(probe, args);
  int length = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  if (length < 0) {
    Empty();
    return;
  }
  CString result;
  result.MakeUnique(length);
  std::vsnprintf(result.m_data->chars(), size_t(length) + 1, format, args);
  result.m_data->length = length;
  *this = result;
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
  CString tail;
  va_list args;
  va_start(args, format);
  tail.FormatV(format, args);
  va_end(args);
  *this += tail;
}

char* CString::GetBuffer(int minLength) {
  MakeUnique(std::max(minLength, GetLength()));
  return m_data->chars();
}

char* CString::GetBufferSetLength(int length) {
  length = std::max(length, 0);
  char* buffer = GetBuffer(length);
  buffer[length] = 0;
  m_data->length = length;
  return buffer;
}

void CString::ReleaseBuffer(int newLength) {
  MakeUnique(GetLength());
  char* chars = m_data->chars();
  if (newLength < 0) newLength = int(strnlen(chars, size_t(m_data->capacity)));
  newLength = std::min(newLength, m_data->capacity);
  chars[newLength] = 0;
  m_data->length = newLength;
}

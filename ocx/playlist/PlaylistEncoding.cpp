#include "ocx/playlist/PlaylistEncoding.h"

#include <algorithm>

#include "framework/FileNames.h"

namespace playlist {

namespace {
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

bool IsLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }

// Text without a mark is taken for UTF-16 when most of its characters have a zero byte on one
// side and hardly any on the other, as paths in UTF-16 do.
bool LooksLikeUtf16(const std::string& bytes, bool* bigEndian) {
  size_t pairs = bytes.size() / 2, zeroLow = 0, zeroHigh = 0;
  if (pairs == 0 || bytes.size() % 2) return false;
  for (size_t i = 0; i < pairs; ++i) {
    zeroLow += bytes[2 * i] == '\0';
    zeroHigh += bytes[2 * i + 1] == '\0';
  }
  *bigEndian = zeroLow > zeroHigh;
  size_t most = std::max(zeroLow, zeroHigh), least = std::min(zeroLow, zeroHigh);
  return most * 4 >= pairs * 3 && least * 4 < pairs;
}

std::wstring FromUtf16(const std::string& bytes, size_t start, bool bigEndian) {
  std::wstring text;
  text.reserve((bytes.size() - start) / 2);
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    unsigned char first = bytes[i], second = bytes[i + 1];
    text.push_back(wchar_t(bigEndian ? first << 8 | second : second << 8 | first));
  }
  return text;
}

// Each line in its 8-bit form; line ends stay.
std::string NarrowLines(const std::wstring& text) {
  std::string narrow;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = start;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    narrow += filenames::Narrow(text.substr(start, end - start));
    if (end < text.size()) narrow += char(text[end]);
    start = end + 1;
  }
  return narrow;
}

// A line stays in the code page unless it is UTF-8 beyond ASCII, which comes to its 8-bit
// form: a list saved with both kinds of line reads back as it was saved.
std::string NarrowLines(const std::string& text) {
  std::string narrow;
  narrow.reserve(text.size());
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    narrow += filenames::IsUtf8BeyondAscii(line) ? filenames::Narrow(filenames::FromUtf8(line)) : line;
    if (end < text.size()) narrow += text[end];
    start = end + 1;
  }
  return narrow;
}
}  // namespace

std::string DecodeListText(const std::string& bytes) {
  bool bigEndian = false;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return NarrowLines(FromUtf16(bytes, 2, false));
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return NarrowLines(FromUtf16(bytes, 2, true));
  if (LooksLikeUtf16(bytes, &bigEndian)) return NarrowLines(FromUtf16(bytes, 0, bigEndian));
  size_t start = bytes.compare(0, 3, kUtf8Mark) == 0 ? 3 : 0;
  return NarrowLines(bytes.substr(start));
}

std::wstring ShownName(const std::string& entry) {
  std::wstring path = filenames::Wide(entry);
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace playlist

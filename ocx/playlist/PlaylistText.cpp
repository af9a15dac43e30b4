#include "ocx/playlist/PlaylistText.h"

#include <algorithm>
#include <cctype>

namespace playlist {

namespace {
bool IsSlash(char c) { return c == '\\' || c == '/'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int Lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A path with a drive, a UNC path or a URL: one that needs no folder to say where it is.
bool IsAbsolute(const std::string& entry) {
  bool hasDrive = entry.size() >= 2 && std::isalpha(static_cast<unsigned char>(entry[0])) && entry[1] == ':';
  bool unc = entry.size() >= 2 && IsSlash(entry[0]) && IsSlash(entry[1]);
  return hasDrive || unc || entry.find("://") != std::string::npos;
}

// Compares the runs of digits that start at a[i] and b[j] by value; moves past them.
int CompareNumbers(const std::string& a, size_t& i, const std::string& b, size_t& j) {
  while (i < a.size() && a[i] == '0' && i + 1 < a.size() && IsDigit(a[i + 1])) ++i;
  while (j < b.size() && b[j] == '0' && j + 1 < b.size() && IsDigit(b[j + 1])) ++j;
  size_t ai = i, bj = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  if (i - ai != j - bj) return i - ai < j - bj ? -1 : 1;
  return a.compare(ai, i - ai, b, bj, j - bj);
}
}  // namespace

std::vector<std::string> ParseEntries(const std::string& text, const std::string& folder) {
  std::vector<std::string> entries;
  entries.reserve(size_t(std::count(text.begin(), text.end(), '\n')) + 1);
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a UTF-8 mark
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    size_t first = start, last = end;
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    std::string line(text, first, last - first);
    if (!line.empty() && line[0] != '#' && NamesAFile(line))
      entries.push_back(IsAbsolute(line) ? std::move(line) : ResolvePath(line, folder));
    start = end + 1;
  }
  return entries;
}

// A NUL ends a path for every file call, so a line holding one would reach some other file
// (a line of NULs, the playlist's own folder); and a path that ends in a folder is no track.
bool NamesAFile(const std::string& entry) {
  if (entry.find('\0') != std::string::npos) return false;
  if (entry.find("://") != std::string::npos) return true;  // a stream may well end in "/"
  if (entry.size() == 2 && entry[1] == ':') return false;   // a drive's current folder
  size_t slash = entry.find_last_of("\\/");
  size_t name = slash == std::string::npos ? 0 : slash + 1;
  return entry.compare(name, std::string::npos, "") != 0 && entry.compare(name, std::string::npos, ".") != 0 &&
         entry.compare(name, std::string::npos, "..") != 0;
}

// A full path that the system would hand back as it is: a drive, and parts that are not
// empty, not "." or "..", and do not end in a dot or a blank (which the system drops).
bool IsPlainFullPath(const std::string& path) {
  if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || path[2] != '\\')
    return false;
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end == start || path[end - 1] == '.' || path[end - 1] == ' ') return false;
    start = end + 1;
  }
  return path.find('/') == std::string::npos && path.find('\0') == std::string::npos;
}

std::string ResolvePath(const std::string& entry, const std::string& folder) {
  if (entry.empty() || folder.empty() || IsAbsolute(entry)) return entry;
  if (IsSlash(entry[0])) return folder.size() >= 2 && folder[1] == ':' ? folder.substr(0, 2) + entry : entry;
  return IsSlash(folder.back()) ? folder + entry : folder + "\\" + entry;
}

std::string FormatEntries(const std::vector<std::string>& paths) {
  size_t size = 0;
  for (const std::string& path : paths) size += path.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& path : paths) text.append(path).append("\r\n");
  return text;
}

bool HasExtension(const std::string& fileName, const std::string& extension) {
  std::string wanted = extension;
  if (!wanted.empty() && wanted[0] == '*') wanted.erase(0, 1);
  if (wanted.empty() || wanted == ".*" || wanted == ".") return true;
  if (wanted[0] != '.') wanted.insert(0, ".");
  if (fileName.size() < wanted.size()) return false;
  size_t at = fileName.size() - wanted.size();
  for (size_t i = 0; i < wanted.size(); ++i)
    if (Lower(fileName[at + i]) != Lower(wanted[i])) return false;
  return true;
}

bool NameLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      int order = CompareNumbers(a, i, b, j);
      if (order != 0) return order < 0;
      continue;
    }
    if (Lower(a[i]) != Lower(b[j])) return Lower(a[i]) < Lower(b[j]);
    ++i, ++j;
  }
  if (i < a.size() || j < b.size()) return j < b.size();
  return a < b;  // equal but for case or leading zeros: any fixed order
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace playlist

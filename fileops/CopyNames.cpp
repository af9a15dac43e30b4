#include "fileops/CopyNames.h"

#include <algorithm>

namespace copynames {
namespace {

const char kCopyOf[] = "Copy of ";
const char kNumberedStart[] = "Copy (";
const char kNumberedEnd[] = ") of ";
const size_t kMaxDigits = 9;  // keeps the next number inside an int

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

size_t LastSeparator(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsSeparator(path[i - 1])) return i - 1;
  return std::string::npos;
}

// Reads "Copy (N) of rest": the number and the rest, or false for any other name.
bool ParseNumbered(const std::string& name, int* number, std::string* rest) {
  if (!StartsWith(name, kNumberedStart)) return false;
  size_t digitsStart = sizeof kNumberedStart - 1;
  size_t digitsEnd = digitsStart;
  while (digitsEnd < name.size() && name[digitsEnd] >= '0' && name[digitsEnd] <= '9') ++digitsEnd;
  size_t digits = digitsEnd - digitsStart;
  if (digits == 0 || digits > kMaxDigits) return false;
  if (name.compare(digitsEnd, sizeof kNumberedEnd - 1, kNumberedEnd) != 0) return false;
  *number = std::stoi(name.substr(digitsStart, digits));
  *rest = name.substr(digitsEnd + sizeof kNumberedEnd - 1);
  return true;
}

// Lower-case ASCII letters and "\" for every separator, without separators at the end.
std::string Folded(const std::string& path) {
  std::string folded = WithoutTrailingSeparators(path);
  for (char& ch : folded) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch == '/') ch = '\\';
  }
  return folded;
}

}  // namespace

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  size_t separator = LastSeparator(path);
  size_t nameStart = (separator == std::string::npos || separator < start) ? start : separator + 1;
  parts.directory = path.substr(start, nameStart - start);
  std::string file = path.substr(nameStart);
  size_t dot = file.rfind('.');
  parts.name = file.substr(0, dot);
  if (dot != std::string::npos) parts.extension = file.substr(dot);
  return parts;
}

std::string NextCopyName(const std::string& path) {
  PathParts parts = SplitPath(path);
  int number = 0;
  std::string rest;
  std::string name;
  if (StartsWith(parts.name, kCopyOf))
    name = std::string(kNumberedStart) + "1" + kNumberedEnd + parts.name.substr(sizeof kCopyOf - 1);
  else if (ParseNumbered(parts.name, &number, &rest))
    name = kNumberedStart + std::to_string(number + 1) + kNumberedEnd + rest;
  else name = kCopyOf + parts.name;
  return parts.drive + parts.directory + name + parts.extension;
}

std::string LastFolderName(const std::string& path) {
  size_t last = LastSeparator(path);
  if (last == std::string::npos) return "";
  std::string folder = path.substr(0, last);
  size_t before = LastSeparator(folder);
  return before == std::string::npos ? "" : folder.substr(before + 1);
}

std::string WithoutTrailingSeparators(const std::string& path) {
  size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  return path.substr(0, end);
}

bool SamePath(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }

bool IsSameOrInside(const std::string& outer, const std::string& inner) {
  std::string o = Folded(outer);
  std::string i = Folded(inner);
  if (i == o) return true;
  return i.size() > o.size() && StartsWith(i, o) && i[o.size()] == '\\';
}

bool IsParentFolder(const std::string& source, const std::string& destination) {
  std::string item = WithoutTrailingSeparators(source);
  size_t separator = LastSeparator(item);
  return separator != std::string::npos && SamePath(item.substr(0, separator), destination);
}

int NestingLimit(const std::string& source, const std::string& destination) {
  if (!IsSameOrInside(source, destination)) return -1;
  auto depth = [](const std::string& path) {
    std::string trimmed = WithoutTrailingSeparators(path);
    return static_cast<int>(std::count_if(trimmed.begin(), trimmed.end(), IsSeparator));
  };
  return depth(destination) - depth(source);
}

}  // namespace copynames

#include "settings/SectionName.h"

#include <cctype>

namespace {

bool IsBlank(char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; }

// Drops every character at either end for which `drop` holds.
template <class Pred> std::string TrimIf(const std::string& text, Pred drop) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && drop(text[first])) ++first;
  while (last > first && drop(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string Trim(const std::string& text) { return TrimIf(text, IsBlank); }

}  // namespace

std::string NormaliseSectionName(const std::string& section) {
  std::string slashed = Trim(section);
  for (char& ch : slashed) {
    if (ch == '/') ch = '\\';
  }
  std::string single;
  for (size_t i = 0; i < slashed.size(); ++i) {
    single += slashed[i];
    if (slashed[i] == '\\' && i + 1 < slashed.size() && slashed[i + 1] == '\\') ++i;
  }
  // Blanks go with the separators at the ends, so "/ /" cannot leave a key named " ".
  return TrimIf(single, [](char ch) { return ch == '\\' || IsBlank(ch); });
}

std::string NormaliseKeyName(const std::string& name) {
  std::string kept;
  for (char ch : name) {
    if (ch != '/' && ch != '\\') kept += ch;
  }
  return Trim(kept);
}

#include "notes/NoteRecord.h"

#include <algorithm>

namespace note {

std::string MakeRecord(const std::string& text) {
  std::string record(kRecordBytes, '\0');
  std::copy_n(text.begin(), std::min(text.size(), kRecordBytes), record.begin());
  return record;
}

std::string TextOfRecord(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string FirstLineOfRecord(const std::string& bytes) {
  std::string text = TextOfRecord(bytes);
  std::string line = text.substr(0, text.find('\n'));
  // A text reader takes CR LF as the line end; the CR is not part of the line.
  if (line.size() < text.size() && !line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool HoldsNote(const std::string& stored, const std::string& text) {
  if (stored.empty()) return false;
  return TextOfRecord(stored) == TextOfRecord(MakeRecord(text));
}

bool ShouldReopen(const std::string& bytes) { return FirstLineOfRecord(bytes).size() > kReopenAfterChars; }

}  // namespace note

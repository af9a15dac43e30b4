// The note's stored form: a record of exactly 512 bytes. The text comes first (lines
// separated by CR LF); a text shorter than the record is ended by a NUL, the bytes after
// it mean nothing; a longer text is cut to the record's size with no NUL.
// Portable: no Win32 here, so the record can be tested and fuzzed anywhere.
#pragma once

#include <cstddef>
#include <string>

namespace note {

constexpr size_t kRecordBytes = 512;
// The longest text the field accepts: the record's size less the NUL that ends it.
constexpr size_t kMaxTextChars = kRecordBytes - 1;
// What "Close" stores: an emptied note that start-up does not reopen.
constexpr const char kEmptiedNote[] = " ";
// Start-up reopens the note when its first line is longer than this.
constexpr size_t kReopenAfterChars = 2;

// The 512 bytes stored for `text`; the filler after the NUL is NULs.
std::string MakeRecord(const std::string& text);
// The whole stored text: every byte up to the first NUL or the end of what was read.
std::string TextOfRecord(const std::string& bytes);
// The first line as a text-mode reader sees it: up to the first CR LF, LF, NUL or end.
std::string FirstLineOfRecord(const std::string& bytes);
// Whether `stored` (the file's bytes; empty when there is no file) already holds `text`:
// readers would take the same text from it as from the record for `text`.
bool HoldsNote(const std::string& stored, const std::string& text);
// Whether a stored note is worth reopening at start-up.
bool ShouldReopen(const std::string& bytes);

}  // namespace note

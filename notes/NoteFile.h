// The note file, note1.txt in the current folder: read whole, saved whole.
#pragma once

#include <string>

namespace note {

constexpr const char kFileName[] = "note1.txt";

// The stored record's bytes; empty when the file is missing or cannot be read (a note
// that was never saved is the ordinary first use, not an error).
std::string ReadStoredRecord(const char* path = kFileName);
// Stores `text` as one record. The record goes to a temporary file beside the note first
// and replaces the old file only once complete, so a failed save leaves the old note whole.
// A file that holds the record already is not written at all (it may be read-only).
bool SaveNote(const std::string& text, const char* path = kFileName);

}  // namespace note

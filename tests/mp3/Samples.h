// The sample MP3 files (resources of the Wine test programs, files natively) and made-up inputs.
#pragma once

#include <cstdint>
#include <string>

namespace samples {

struct Sample {
  const char* name;  // resource name, and file name with ".mp3"
  int rate, channels, version;
  uint64_t frames;  // audio frames as encoded (from the encoder's report)
  long lengthMs;
};
extern const Sample kAll[5];

// The bytes of a sample.
std::string Bytes(const char* name);
// Writes every sample into `folder` as NAME.mp3.
void WriteAll(const std::string& folder);
// A WAV file of `ms` milliseconds of silence.
std::string Wav(int ms);
// Random bytes from a fixed seed.
std::string RandomBytes(size_t count, unsigned seed);

}  // namespace samples

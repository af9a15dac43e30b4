// The samples' facts and the made-up inputs; where the sample files' bytes come from depends
// on the test program (SampleResources.cpp under Wine, tests/native/SampleFiles.cpp natively).
#include "Samples.h"

#include <random>

namespace samples {

const Sample kAll[5] = {
    {"CBR44S_TAGS", 44100, 2, 10, 59, 1541}, {"CBR22M_BARE", 22050, 1, 20, 60, 1567},
    {"VBR44S_XING", 44100, 2, 10, 78, 2037}, {"VBR22M_VBRI", 22050, 1, 20, 117, 3056},
    {"CBR8M", 8000, 1, 25, 16, 1152},
};

std::string Wav(int ms) {
  uint32_t data = uint32_t(44100 * 4 * ms / 1000);
  std::string wav = "RIFF";
  auto put32 = [&wav](uint32_t v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
  auto put16 = [&wav](uint16_t v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
  put32(36 + data);
  wav += "WAVEfmt ";
  put32(16), put16(1), put16(2), put32(44100), put32(44100 * 4), put16(4), put16(16);
  wav += "data";
  put32(data);
  std::mt19937 random(7);
  for (uint32_t i = 0; i < data; ++i) wav += char(random() % 7);  // quiet noise
  return wav;
}

std::string RandomBytes(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = char(random());
  return bytes;
}

}  // namespace samples

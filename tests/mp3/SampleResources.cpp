// The sample files as the Wine test programs hold them: resources of the program.
#include <windows.h>

#include "Samples.h"
#include "tests/support/TestKit.h"

namespace samples {

std::string Bytes(const char* name) {
  HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return data ? std::string(data, SizeofResource(nullptr, found)) : std::string();
}

void WriteAll(const std::string& folder) {
  for (const Sample& sample : kAll) testkit::WriteTextFile(folder + "\\" + sample.name + ".mp3", Bytes(sample.name));
}

}  // namespace samples

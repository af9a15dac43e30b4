// libFuzzer target for the frame parsing (built natively by build.sh): a broken promise
// (FrameChecks.h) aborts, and libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#include "ocx/mp3/fuzz/FrameChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* broken = mp3::BrokenPromise(data, size)) {
    std::fprintf(stderr, "broken promise: %s\n", broken);
    std::abort();
  }
  return 0;
}

// Each hosted control's class is written once, as text; its binary CLSID is read from it
// at compile time and must be the one the system reads from the same text.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

#include "res/resource.h"

namespace {
CLSID SystemReading(const char* text) {
  std::wstring wide(text, text + std::char_traits<char>::length(text));
  CLSID id{};
  EXPECT_EQ(CLSIDFromString(wide.c_str(), &id), NOERROR) << text;
  return id;
}
}  // namespace

TEST(Contract, EachControlsClsidIsTheOneItsWindowClassNames) {
  const struct {
    const char* text;
    CLSID id;
  } controls[] = {
      {CLSID_CLASS_CAPTION_BUTTON, captioncontract::kClsid},
      {CLSID_CLASS_MONITOR, monitorcontract::kClsid},
      {CLSID_CLASS_MP3, mp3contract::kClsid},
      {CLSID_CLASS_PLAYLIST, playlistcontract::kClsid},
      {CLSID_CLASS_FILE_VIEW, fileviewcontract::kClsid},
  };
  for (const auto& control : controls)
    EXPECT_TRUE(IsEqualCLSID(control.id, SystemReading(control.text))) << control.text;
  static_assert(ClsidFromText("{0A1B2C3D-4E5F-6789-abcd-EF0123456789}").Data4[7] == 0x89);
}

// Decoding through the system codec: every sample to its length, seeking, and files that
// cannot be decoded.
#include "ocx/mp3/Mp3Decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "Samples.h"
#include "ocx/mp3/Mp3Source.h"
#include "tests/support/TestKit.h"

namespace {
class Mp3Decoder : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new testkit::ScratchDir("mp3-decoder");
    samples::WriteAll(dir->path);
  }
  static void TearDownTestSuite() { delete dir; }
  static std::string PathOf(const char* name) { return *dir / (std::string(name) + ".mp3"); }

  struct Decoded {
    uint64_t samples = 0;  // per channel
    int peak = 0;
  };
  static Decoded ReadAll(CMp3Decoder& decoder) {
    Decoded decoded;
    std::vector<uint8_t> buffer(8192);
    int channels = decoder.PcmFormat().nChannels;
    while (size_t bytes = decoder.Read(buffer.data(), buffer.size())) {
      EXPECT_EQ(bytes % decoder.PcmFormat().nBlockAlign, 0u);
      decoded.samples += bytes / 2 / channels;
      const auto* pcm = reinterpret_cast<const int16_t*>(buffer.data());
      for (size_t i = 0; i < bytes / 2; ++i) decoded.peak = std::max(decoded.peak, std::abs(int(pcm[i])));
    }
    return decoded;
  }
  static testkit::ScratchDir* dir;
};
testkit::ScratchDir* Mp3Decoder::dir = nullptr;
}  // namespace

TEST_F(Mp3Decoder, DecodesEverySampleToItsLength) {
  for (const samples::Sample& sample : samples::kAll) {
    SCOPED_TRACE(sample.name);
    CMp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(PathOf(sample.name).c_str()));
    EXPECT_EQ(decoder.PcmFormat().nSamplesPerSec, DWORD(sample.rate));
    EXPECT_EQ(decoder.PcmFormat().nChannels, WORD(sample.channels));
    EXPECT_EQ(decoder.LengthMs(), sample.lengthMs);
    Decoded decoded = ReadAll(decoder);
    uint64_t frame = sample.version == 10 ? 1152 : 576;
    EXPECT_NEAR(double(decoded.samples), double(sample.frames * frame), double(2 * frame));
    EXPECT_GT(decoded.peak, 3000) << "sound, not silence";
    EXPECT_EQ(decoder.Read(std::vector<uint8_t>(4096).data(), 4096), 0u) << "stays at the end";
  }
}

TEST_F(Mp3Decoder, SeekingRestartsAtTheFrameForTheTime) {
  for (const samples::Sample& sample : samples::kAll) {
    SCOPED_TRACE(sample.name);
    CMp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(PathOf(sample.name).c_str()));
    ReadAll(decoder);
    int64_t wanted = sample.lengthMs / 2;
    int64_t at = decoder.Seek(wanted);
    EXPECT_LE(at, wanted);
    EXPECT_GE(at, wanted - 80) << "within a frame or two";
    double restMs = 1000.0 * double(ReadAll(decoder).samples) / sample.rate;
    EXPECT_NEAR(restMs, double(sample.lengthMs - at), 160.0);
    EXPECT_EQ(decoder.Seek(-50), 0);
    EXPECT_NEAR(double(ReadAll(decoder).samples) * 1000 / sample.rate, double(sample.lengthMs), 160.0);
    EXPECT_LE(decoder.Seek(sample.lengthMs + 1000), sample.lengthMs) << "clamped";
  }
}

TEST_F(Mp3Decoder, DamagedStreamsDecodeWhatIsLeft) {
  testkit::ScratchDir bad("mp3-decoder-damaged");
  std::string whole = samples::Bytes("VBR22M_VBRI");
  testkit::WriteTextFile(bad / "half.mp3", whole.substr(0, whole.size() / 2));
  // Frame 20's header claims 160 kbit/s, five times its real size.
  std::string lying = whole;
  mp3::MemoryBytes bytes(reinterpret_cast<const uint8_t*>(whole.data()), whole.size());
  mp3::CMp3Index index;
  ASSERT_TRUE(index.Build(bytes));
  mp3::CMp3Source source(bytes, index.AudioBegin(), index.AudioEnd());
  mp3::Frame frame;
  for (int i = 0; i <= 20; ++i) ASSERT_TRUE(source.Next(&frame));
  lying[frame.offset + 2] = char((uint8_t(lying[frame.offset + 2]) & 0x0F) | 0xE0);
  testkit::WriteTextFile(bad / "lying.mp3", lying);
  CMp3Decoder decoder;
  ASSERT_TRUE(decoder.Open((bad / "half.mp3").c_str()));
  EXPECT_LT(decoder.LengthMs(), 2500) << "the header's length is not believed for a cut file";
  double halfMs = 1000.0 * double(ReadAll(decoder).samples) / 22050;
  EXPECT_NEAR(halfMs, double(decoder.LengthMs()), 100.0);
  ASSERT_TRUE(decoder.Open((bad / "lying.mp3").c_str()));
  double lyingMs = 1000.0 * double(ReadAll(decoder).samples) / 22050;
  EXPECT_GT(lyingMs, 2900.0);
}

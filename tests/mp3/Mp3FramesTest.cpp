// The frame parsing: headers, tags, VBR headers, lengths and seek points, and what damaged
// or foreign files do to it.
#include <gtest/gtest.h>

#include <string>

#include "Samples.h"
#include "ocx/mp3/Mp3Index.h"
#include "ocx/mp3/Mp3Source.h"
#include "ocx/mp3/fuzz/FrameChecks.h"

using namespace mp3;

namespace {
const uint8_t* Data(const std::string& bytes) { return reinterpret_cast<const uint8_t*>(bytes.data()); }

bool Build(const std::string& bytes, CMp3Index* index) {
  MemoryBytes source(Data(bytes), bytes.size());
  return index->Build(source);
}

uint64_t WalkedFrames(const std::string& bytes, const CMp3Index& index) {
  MemoryBytes source(Data(bytes), bytes.size());
  CMp3Source walk(source, index.AudioBegin(), index.AudioEnd());
  walk.SetFormat(index.Format());
  Frame frame;
  uint64_t count = 0, last = 0;
  while (walk.Next(&frame)) {
    EXPECT_TRUE(count == 0 || frame.offset > last);
    EXPECT_LE(frame.offset + uint64_t(frame.header.frameBytes), index.AudioEnd());
    last = frame.offset;
    ++count;
  }
  return count;
}

std::string Header(uint8_t b1, uint8_t b2, uint8_t b3) { return std::string{char(0xFF), char(b1), char(b2), char(b3)}; }

// A bare MPEG-1 44.1 kHz stereo stream of `count` 128 kbit/s frames (417 bytes each).
std::string Frames128(int count) {
  std::string one = Header(0xFB, 0x90, 0x44) + std::string(413, '\x55');
  std::string all;
  for (int i = 0; i < count; ++i) all += one;
  return all;
}
}  // namespace

TEST(Mp3Frames, HeadersOfAllThreeVersions) {
  struct Case {
    const char* what;
    unsigned char b1, b2, b3;
    int version, bitrate, sampleRate, channels, samplesPerFrame, frameBytes;
    bool crc;
  };
  const Case cases[] = {
      {"MPEG-1, 128k, 44.1 kHz, stereo", 0xFB, 0x90, 0x44, 10, 128000, 44100, 2, 1152, 417, false},
      {"the same with padding", 0xFB, 0x92, 0x44, 10, 128000, 44100, 2, 1152, 418, false},
      {"MPEG-2, 32k, 22.05 kHz, mono, check", 0xF2, 0x40, 0xC4, 20, 32000, 22050, 1, 576, 104, true},
      {"MPEG-2.5, 16k, 8 kHz, mono", 0xE3, 0x28, 0xC4, 25, 16000, 8000, 1, 576, 144, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FrameHeader h;
    ASSERT_TRUE(ParseFrameHeader(Data(Header(c.b1, c.b2, c.b3)), &h));
    EXPECT_EQ(h.version, c.version);
    EXPECT_EQ(h.bitrate, c.bitrate);
    EXPECT_EQ(h.sampleRate, c.sampleRate);
    EXPECT_EQ(h.channels, c.channels);
    EXPECT_EQ(h.samplesPerFrame, c.samplesPerFrame);
    EXPECT_EQ(h.frameBytes, c.frameBytes);
    EXPECT_EQ(h.crc, c.crc);
  }
}

TEST(Mp3Frames, RejectsWhatIsNotALayerThreeHeader) {
  FrameHeader h;
  EXPECT_FALSE(ParseFrameHeader(Data(Header(0xFD, 0x90, 0x44)), &h)) << "Layer II";
  EXPECT_FALSE(ParseFrameHeader(Data(Header(0xEB, 0x90, 0x44)), &h)) << "reserved version";
  EXPECT_FALSE(ParseFrameHeader(Data(Header(0xFB, 0x00, 0x44)), &h)) << "free format";
  EXPECT_FALSE(ParseFrameHeader(Data(Header(0xFB, 0xF0, 0x44)), &h)) << "bad bit rate";
  EXPECT_FALSE(ParseFrameHeader(Data(Header(0xFB, 0x9C, 0x44)), &h)) << "reserved sample rate";
  EXPECT_FALSE(ParseFrameHeader(Data(Header(0xFB, 0x90, 0x46)), &h)) << "reserved emphasis";
  EXPECT_FALSE(ParseFrameHeader(Data(std::string("\xFF\x1B\x90\x44", 4)), &h)) << "no sync";
}

TEST(Mp3Frames, TagsAtBothEndsAreSkipped) {
  // ID3v2.3, then ID3v2.4 with a footer; an APE tag with its header, then ID3v1.
  std::string v23 = std::string("ID3\3\0\0\0\0\0\x05", 10) + "abcde";
  std::string v24 = std::string("ID3\4\0\x10\0\0\0\x02", 10) + "xy" + std::string("3DI\4\0\x10\0\0\0\x02", 10);
  std::string ape = "APETAGEX" + std::string("\xD0\x07\0\0\x28\0\0\0\0\0\0\0\0\0\0\xA0", 16) + std::string(8, '\0') +
                    std::string(8, 'i') + "APETAGEX" + std::string("\xD0\x07\0\0\x28\0\0\0\0\0\0\0\0\0\0\x80", 16) +
                    std::string(8, '\0');
  std::string v1 = "TAG" + std::string(125, ' ');
  std::string file = v23 + v24 + Frames128(5) + ape + v1;
  MemoryBytes bytes(Data(file), file.size());
  EXPECT_EQ(LeadingTagBytes(bytes), v23.size() + v24.size());
  std::string tail = file.substr(file.size() - 160);
  EXPECT_EQ(TrailingTagBytes(Data(tail), tail.size(), file.size()), ape.size() + v1.size());
  CMp3Index index;
  ASSERT_TRUE(Build(file, &index));
  EXPECT_EQ(index.AudioBegin(), v23.size() + v24.size());
  EXPECT_EQ(index.AudioEnd(), file.size() - ape.size() - v1.size());
  EXPECT_EQ(index.Frames(), 5u);
}

TEST(Mp3Frames, SampleFilesGiveFormatLengthAndHeaderKind) {
  const VbrHeader::Kind kinds[] = {VbrHeader::kInfo, VbrHeader::kNone, VbrHeader::kXing, VbrHeader::kVbri,
                                   VbrHeader::kNone};
  for (size_t i = 0; i < 5; ++i) {
    const samples::Sample& sample = samples::kAll[i];
    SCOPED_TRACE(sample.name);
    std::string bytes = samples::Bytes(sample.name);
    CMp3Index index;
    ASSERT_TRUE(Build(bytes, &index));
    EXPECT_EQ(index.HeaderKind(), kinds[i]);
    EXPECT_EQ(index.Format().sampleRate, sample.rate);
    EXPECT_EQ(index.Format().channels, sample.channels);
    EXPECT_EQ(index.Format().version, sample.version);
    EXPECT_EQ(index.Frames(), sample.frames);
    EXPECT_EQ(index.LengthMs(), sample.lengthMs);
    EXPECT_EQ(WalkedFrames(bytes, index), sample.frames) << "the header agrees with the frames there are";
    EXPECT_EQ(BrokenPromise(Data(bytes), bytes.size()), nullptr) << "seek points among them";
  }
}

TEST(Mp3Frames, AHeaderThatLiesAboutItsSizeLosesOnlyItsFrame) {
  std::string stream = Frames128(20);
  stream[417 * 10 + 2] = char(0xA0);  // frame 10 now claims 160 kbit/s (522 bytes)
  CMp3Index index;
  ASSERT_TRUE(Build(stream, &index));
  EXPECT_EQ(index.Frames(), 19u);
  // Junk between frames is passed over too; the frame before it goes with it, as nothing
  // tells it from a false sync.
  std::string junky = Frames128(5) + std::string("\xFF\xFB\x90junk\xFF\xFF", 9) + Frames128(5);
  ASSERT_TRUE(Build(junky, &index));
  EXPECT_EQ(index.Frames(), 9u);
}

TEST(Mp3Frames, VbrHeadersAreBelievedOnlyWhenTheFileAgrees) {
  std::string xing = samples::Bytes("VBR44S_XING");
  CMp3Index index;
  ASSERT_TRUE(Build(xing, &index));
  uint64_t first = index.AudioBegin() - 417;  // the Xing frame is 417 bytes
  // A frame count far beyond what the bytes can hold is ignored: the frames are walked.
  std::string lying = xing;
  size_t at = first + 4 + 32 + 8;  // header, side information, "Xing", flags
  lying.replace(at, 4, std::string("\x7F\xFF\xFF\xFF", 4));
  ASSERT_TRUE(Build(lying, &index));
  EXPECT_EQ(index.Frames(), 78u);
  // A file cut short is shorter than its header says.
  std::string cut = xing.substr(0, xing.size() / 2);
  ASSERT_TRUE(Build(cut, &index));
  EXPECT_LT(index.Frames(), 45u);
  EXPECT_GT(index.Frames(), 30u);
}

TEST(Mp3Frames, ForeignAndBrokenFilesHoldNoStream) {
  CMp3Index index;
  EXPECT_FALSE(Build("", &index));
  EXPECT_FALSE(Build("ID3", &index));
  EXPECT_FALSE(Build(std::string("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + Frames128(3), &index)) << "a tag over it all";
  EXPECT_FALSE(Build("This is a text file, renamed.\r\nNothing to play here.\r\n", &index));
  EXPECT_FALSE(Build(samples::Wav(500), &index));
  for (unsigned seed = 1; seed <= 20; ++seed) EXPECT_FALSE(Build(samples::RandomBytes(20000, seed), &index)) << seed;
  std::string stream = samples::Bytes("CBR22M_BARE");
  EXPECT_TRUE(Build(stream.substr(0, 300), &index)) << "a couple of frames still play";
  EXPECT_FALSE(Build(stream.substr(0, 50), &index)) << "less than a frame";
}

// Inputs that once broke a promise of the parsing under the fuzzer (ocx/mp3/fuzz).
TEST(Mp3Frames, WhatTheFuzzerFoundStaysFixed) {
  const std::string found[] = {
      // A Xing table of contents that starts high and goes back: seeking went backwards.
      std::string("\xFF\xFB\x41\x50\x45\x54\x41\x47\x45\x58\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                  "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x58\x69\x6E\x67\x00\x00\x00\x05\x00\x00\x00\x01"
                  "\xF1\x49\x11\x11\x2B\xE9\x03\x04\x99\x0E\x2C\x14\x87\x4A\x79\xC7\x60\x6A\x00\x00\x00\x00\x00\x00"
                  "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xFB\xD0\x44\x00\x00\x01\x38\x05\xD4\xED\x99\x11"
                  "\xF1\x49\x11\x11\x2B\xE9\x03\x04\x99\x0E\x2C\x14\x87\x00\x00\x00\x00\x00\x00\xFF\xFB\xD0\x44\x00"
                  "\x00\x01\x38\xD4\x90\x36\x5B\x43\x45\x34\x48\x42\x49\xB2\x62\xBA\x45\xFB\x94\x7E\xB2\x62\x71\x08"
                  "\x7F\x46\xCB\xB6\x99\x11\xF1\x49\x11\x11\x2B\xE9\x03\x04\x99\x0E\x2C\x14\x87\x4A\x79\xC7\x60\x6A"
                  "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xFB\xD0\x44\x00\x00\x01\x38\xD4\x90"
                  "\x36\x5B\x43\x45\x34\x48\x42\x49\xB2\x62\xBA\x45\xFB\x94\x7E\xB2\x62\x71\x08\x7F\x46\xCB\xB6\x99"
                  "\x11\xF1\x49\x11\x11\x2B\xE9\x03\x04\x99\x0E\x2C\x14\x87\x4A\x79\xC7\x60\x6A",
                  235),
  };
  for (const std::string& input : found) {
    const char* broken = BrokenPromise(Data(input), input.size());
    EXPECT_EQ(broken, nullptr) << broken;
  }
  // Kept as files: VBRI tables whose runs add up to more than the stream holds.
  for (const char* name : {"FUZZ_VBRI_OVERRUN_1"}) {
    std::string input = samples::Bytes(name);
    ASSERT_FALSE(input.empty()) << name;
    const char* broken = BrokenPromise(Data(input), input.size());
    EXPECT_EQ(broken, nullptr) << name << ": " << broken;
  }
  // The same damage in a real file: its table is not used, and seeking still moves forward.
  std::string xing = samples::Bytes("VBR44S_XING");
  CMp3Index index;
  ASSERT_TRUE(Build(xing, &index));
  xing[index.AudioBegin() - 417 + 4 + 32 + 8 + 8] = char(200);  // the table starts at 78 %
  EXPECT_EQ(BrokenPromise(Data(xing), xing.size()), nullptr);
}

namespace {
// Counts the reads the parsing asks for.
class CountingBytes : public mp3::IByteSource {
 public:
  explicit CountingBytes(const std::string& bytes) : m_bytes(Data(bytes), bytes.size()) {}
  uint64_t Size() const override { return m_bytes.Size(); }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    ++reads;
    return m_bytes.ReadAt(offset, out, count);
  }
  int reads = 0;

 private:
  mp3::MemoryBytes m_bytes;
};
}  // namespace

// 100,000 chained empty tags (1 MB) before the stream are passed in a few large reads.
TEST(Mp3Frames, LongChainsOfTagsAreReadInLargeBlocks) {
  std::string chained;
  for (int i = 0; i < 100000; ++i) chained.append("ID3\3\0\0\0\0\0\0", 10);
  chained += Frames128(5);
  CountingBytes file(chained);
  CMp3Index index;
  ASSERT_TRUE(index.Build(file));
  EXPECT_EQ(index.AudioBegin(), 1000000u);
  EXPECT_EQ(index.Frames(), 5u);
  EXPECT_LT(file.reads, 100);
}

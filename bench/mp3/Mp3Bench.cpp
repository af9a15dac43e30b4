// The MP3 player's costs beside the platform's own: decoding speed against a bare loop over
// the system codec, CPU and memory while playing, and seeking in a long VBR file.
// Usage: mp3_bench <ten-minute.mp3> <one-hour-vbr.mp3> [seconds of playing]
#include <windows.h>
#include <mmreg.h>
#include <msacm.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "ocx/mp3/Mp3Decoder.h"
#include "ocx/mp3/Mp3Player.h"

#include "bench/support/Clock.h"

namespace {
double Seconds(const FILETIME& a, const FILETIME& b) {
  auto ticks = [](const FILETIME& t) { return double(ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime); };
  return (ticks(a) + ticks(b)) / 1e7;
}

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  return Seconds(kernel, user);
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Seconds(kernel, user);
}

double WorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return double(counters.WorkingSetSize) / (1 << 20);
}

double FileMiB(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path, GetFileExInfoStandard, &data);
  return double(ULONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow) / (1 << 20);
}

// Runs the message loop for `ms` as a program's loop does: asleep until a message comes.
void Pump(double ms) {
  UINT_PTR done = SetTimer(nullptr, 0, UINT(ms), nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == done) break;
    DispatchMessageA(&msg);
  }
  KillTimer(nullptr, done);
}

struct Decoded {
  double audioSeconds = 0, cpuSeconds = 0;
  void Add(const Decoded& other) { audioSeconds += other.audioSeconds, cpuSeconds += other.cpuSeconds; }
  double Speed() const { return cpuSeconds > 0 ? audioSeconds / cpuSeconds : 0; }
};

// Our decoder: the file read in windows, frames parsed and fed to the codec a few at a time.
Decoded OurDecoding(const char* path) {
  CMp3Decoder decoder;
  if (!decoder.Open(path)) return {};
  std::vector<uint8_t> buffer(64 * 1024);
  double cpu = ThreadCpuSeconds();
  uint64_t bytes = 0;
  while (size_t n = decoder.Read(buffer.data(), buffer.size())) bytes += n;
  return {double(bytes) / decoder.PcmFormat().nAvgBytesPerSec, ThreadCpuSeconds() - cpu};
}

// The same through the bare codec: the whole file in memory, fed in large pieces.
Decoded BareDecoding(const char* path, const WAVEFORMATEX& pcm, int bitrate, int frameBytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::vector<uint8_t> data(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, data.data(), DWORD(data.size()), &read, nullptr);
  CloseHandle(file);
  MPEGLAYER3WAVEFORMAT mp3{};
  mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = pcm.nChannels;
  mp3.wfx.nSamplesPerSec = pcm.nSamplesPerSec;
  mp3.wfx.nAvgBytesPerSec = DWORD(bitrate / 8);
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3.wID = MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  mp3.nBlockSize = WORD(frameBytes);
  mp3.nFramesPerBlock = 1;
  mp3.nCodecDelay = 1393;
  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, &mp3.wfx, const_cast<WAVEFORMATEX*>(&pcm), nullptr, 0, 0, 0)) return {};
  const DWORD kPiece = 16 * 1024;
  DWORD room = 0;
  acmStreamSize(stream, kPiece, &room, ACM_STREAMSIZEF_SOURCE);
  std::vector<uint8_t> out(room * 2);
  double cpu = ThreadCpuSeconds();
  uint64_t bytes = 0;
  for (size_t at = 0; at < data.size();) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = data.data() + at;
    header.cbSrcLength = DWORD(std::min<size_t>(kPiece, data.size() - at));
    header.pbDst = out.data();
    header.cbDstLength = DWORD(out.size());
    acmStreamPrepareHeader(stream, &header, 0);
    acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN);
    acmStreamUnprepareHeader(stream, &header, 0);
    if (!header.cbSrcLengthUsed) break;
    at += header.cbSrcLengthUsed;
    bytes += header.cbDstLengthUsed;
  }
  cpu = ThreadCpuSeconds() - cpu;
  acmStreamClose(stream, 0);
  return {double(bytes) / pcm.nAvgBytesPerSec, cpu};
}

void BenchDecoding(const char* path) {
  CMp3Decoder probe;
  if (!probe.Open(path)) {
    std::printf("decode: cannot open %s\n", path);
    return;
  }
  const mp3::FrameHeader& format = probe.Index().Format();
  Decoded ours, bare;
  for (int run = 0; run < 5; ++run) {  // alternating, so both see the same machine load
    ours.Add(OurDecoding(path));
    bare.Add(BareDecoding(path, probe.PcmFormat(), format.bitrate, format.frameBytes));
  }
  std::printf(
      "decode %.0f s of audio, 5 times each: player %.0f s/CPU s, bare codec loop %.0f s/CPU s,"
      " ratio %.3f (aim <= 1.1)\n",
      probe.LengthMs() / 1000.0, ours.Speed(), bare.Speed(), bare.Speed() / ours.Speed());
}

// CPU over a stretch of playing, and memory before opening, after a second and at the end:
// sound is streamed, so nothing should grow with the length played.
void BenchPlaying(const char* path, double seconds, bool device) {
  double memoryBefore = WorkingSetMiB();
  CMp3Player player;
  player.UseSoundDevice(device);
  if (!player.Open(path) || !player.Play()) {
    std::printf("play: cannot play %s\n", path);
    return;
  }
  Pump(1000);  // let the output settle
  double memorySettled = WorkingSetMiB();
  double cpu = ProcessCpuSeconds(), start = NowMs(), startPos = double(player.PositionMs());
  Pump(seconds * 1000);
  double wall = (NowMs() - start) / 1000, used = ProcessCpuSeconds() - cpu;
  double audio = (double(player.PositionMs()) - startPos) / 1000;
  std::printf(
      "play on %s for %.0f s (%.0f s of audio): CPU %.2f%% of a core, %.2f%% per second of audio;"
      " working set %.1f MiB before opening, %.1f after 1 s, %.1f at the end (file %.1f MiB)\n",
      device ? "the sound device" : "its clock", wall, audio, 100 * used / wall, audio > 0 ? 100 * used / audio : 0.0,
      memoryBefore, memorySettled, WorkingSetMiB(), FileMiB(path));
}

void BenchSeeking(const char* path) {
  CMp3Player player;
  player.UseSoundDevice(false);
  double open = NowMs();
  if (!player.Open(path)) {
    std::printf("seek: cannot open %s\n", path);
    return;
  }
  open = NowMs() - open;
  player.Play();
  std::mt19937 random(5);
  std::vector<double> times;
  for (int i = 0; i < 40; ++i) {
    int64_t target = int64_t(random() % uint32_t(player.LengthMs()));
    double start = NowMs();
    player.Seek(target);
    times.push_back(NowMs() - start);
    Pump(30);
  }
  std::sort(times.begin(), times.end());
  double mean = 0;
  for (double t : times) mean += t / double(times.size());
  std::printf(
      "seek in %.0f min VBR file (opened in %.1f ms): mean %.2f ms, median %.2f ms, worst %.2f ms over %zu"
      " seeks while playing (aim < 50 ms)\n",
      player.LengthMs() / 60000.0, open, mean, times[times.size() / 2], times.back(), times.size());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: mp3_bench <ten-minute.mp3> <one-hour-vbr.mp3> [seconds of playing]\n");
    return 2;
  }
  double seconds = argc > 3 ? std::atof(argv[3]) : 20;
  BenchPlaying(argv[1], seconds, false);
  BenchPlaying(argv[1], seconds, true);
  BenchDecoding(argv[1]);
  BenchSeeking(argv[2]);
  return 0;
}

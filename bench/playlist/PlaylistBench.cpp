// The playlist control loading and saving a long playlist, beside the same text read and
// written whole with plain file calls, alternately in one process so that both see the same
// machine. Load is timed until the list has been drawn; save until the file is in place.
// Usage: playlist_bench <folder> [entries] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "ocx/HostedControl.h"
#include "ocx/playlist/PlaylistControl.h"
#include "res/resource.h"

#include "bench/support/Clock.h"

namespace {
struct Spread {
  std::vector<double> values;
  double Min() const { return *std::min_element(values.begin(), values.end()); }
  double Max() const { return *std::max_element(values.begin(), values.end()); }
  double Median() const {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
};

// Paths as a music collection has them: artist and album folders, numbered tracks.
std::string PlaylistText(int entries) {
  std::string text;
  text.reserve(size_t(entries) * 64);
  char line[MAX_PATH];
  for (int i = 0; i < entries; ++i) {
    int length = std::snprintf(line, sizeof line, "C:\\tyb\\music\\Artist %03d\\Album %02d\\%02d Track %06d.mp3\r\n",
                               i / 200 % 1000, i / 20 % 10, i % 20 + 1, i);
    text.append(line, size_t(length));
  }
  return text;
}

double PlainWrite(const std::string& path, const std::string& text) {
  double start = NowMs();
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  bool ok = file && WriteFile(file.Get(), text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
  double elapsed = NowMs() - start;
  if (!ok) std::printf("plain write of %s failed\n", path.c_str());
  return elapsed;
}

double PlainRead(const std::string& path, size_t expected) {
  double start = NowMs();
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string text(GetFileSize(file.Get(), nullptr), '\0');
  DWORD read = 0;
  bool ok = file && ReadFile(file.Get(), &text[0], DWORD(text.size()), &read, nullptr) && read == expected;
  double elapsed = NowMs() - start;
  if (!ok) std::printf("plain read of %s failed\n", path.c_str());
  return elapsed;
}

// The control in a window of the playlist editor's size, on the screen.
class Editor {
 public:
  Editor() {
    m_frame = CreateWindowExA(0, "STATIC", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 480, 400, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    HWND window = CreateWindowExA(0, CLSID_CLASS_PLAYLIST, "", WS_CHILD | WS_VISIBLE, 4, 4, 462, 294, m_frame, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    m_control = static_cast<CPlaylistControl*>(CWnd::FromHandlePermanent(window));
    UpdateWindow(m_frame);
  }
  ~Editor() { DestroyWindow(m_frame); }
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  CPlaylistControl* Control() const { return m_control; }
  // Lets everything the load asked for be drawn.
  void Draw() {
    UpdateWindow(m_frame);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

 private:
  HWND m_frame = nullptr;
  CPlaylistControl* m_control = nullptr;
};

void Print(const char* what, const Spread& ours, const Spread& plain, const char* reference) {
  std::printf(
      "%s: control min %.1f / median %.1f / max %.1f ms; %s min %.2f / median %.2f / max %.2f ms;"
      " ratio of medians %.1f (aim: control under 500 ms)\n",
      what, ours.Min(), ours.Median(), ours.Max(), reference, plain.Min(), plain.Median(), plain.Max(),
      ours.Median() / std::max(plain.Median(), 0.001));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: playlist_bench <folder> [entries] [runs]\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // each run shows as it ends
  const std::string folder = argv[1];
  const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100000;
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  CHostedControl::RegisterControlClass<CPlaylistControl>(CLSID_CLASS_PLAYLIST);
  const std::string text = PlaylistText(entries);
  const std::string source = folder + "\\source.m3u", plainCopy = folder + "\\plain.m3u",
                    saved = folder + "\\saved.m3u";
  PlainWrite(source, text);
  std::printf("%d entries, %.1f MiB\n", entries, double(text.size()) / (1 << 20));

  Spread load, read, save, write;
  for (int run = 1; run <= runs; ++run) {
    Editor editor;
    read.values.push_back(PlainRead(source, text.size()));
    double start = NowMs();
    bool loaded = editor.Control()->LoadList(source.c_str());
    double drawn = NowMs();
    editor.Draw();
    load.values.push_back(NowMs() - start);
    drawn = NowMs() - drawn;
    size_t count = editor.Control()->Entries().size();

    write.values.push_back(PlainWrite(plainCopy, text));
    start = NowMs();
    bool stored = editor.Control()->SaveList(saved.c_str());
    save.values.push_back(NowMs() - start);
    std::printf(
        "run %d: load %.1f ms (%s, %zu entries; drawing %.1f ms of it), plain read %.2f ms; save %.1f ms (%s),"
        " plain write %.2f ms\n",
        run, load.values.back(), loaded ? "loaded" : "FAILED", count, drawn, read.values.back(), save.values.back(),
        stored ? "saved" : "FAILED", write.values.back());
  }
  Print("load", load, read, "ReadFile of the whole text");
  Print("save", save, write, "WriteFile of the whole text");
  for (const std::string& path : {source, plainCopy, saved}) DeleteFileA(path.c_str());
  return 0;
}

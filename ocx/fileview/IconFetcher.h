// CIconFetcher: a thread of its own that looks up the icons of a listing's items, so that the
// user-interface thread never waits on the shell's per-file look-ups (several milliseconds
// each for programs and shortcuts). Items asked for by index come first, the rest follow in
// order. Whenever icons have come in, the thread posts a message to the given window, whose
// thread takes them with TakeFetched. A new listing drops the work left of the one before;
// an icon looked up for the old listing is never handed out for the new one.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct IconJob {
  std::string path;
  std::string name;
  bool isFolder = false;
  bool known = false;  // its icon is in already: nothing to look up
};

struct FetchedIcon {
  int index;
  int icon;
};

class CIconFetcher {
 public:
  ~CIconFetcher() { Stop(); }  // not copied: it owns its thread

  // Starts the thread; false when none could be started.
  bool Start(HWND window, UINT message);
  // Ends the thread, after the look-up it may be in the middle of. Nothing is posted after.
  void Stop();
  bool IsRunning() const;
  // The thread's id while it runs, else 0.
  DWORD ThreadId() const { return m_threadId; }

  // The items of a new listing, by index; none of the previous listing's icons come after.
  void Fetch(std::vector<IconJob> jobs);
  // Item `index` is looked up next (the view shows it).
  void Prefer(int index);
  // The icons that came in since the last call, for the listing given last.
  std::vector<FetchedIcon> TakeFetched();

 private:
  void Run();
  void RunFetching();
  int TakeNextJob();

  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  std::thread m_thread;
  HWND m_window = nullptr;
  UINT m_message = 0;
  std::atomic<DWORD> m_threadId{0};
  std::atomic<bool> m_stopping{false};  // also read by look-ups waiting for the image list
  bool m_running = false;
  unsigned m_generation = 0;  // counts the listings given
  std::vector<IconJob> m_jobs;
  std::vector<bool> m_taken;
  std::deque<int> m_preferred;
  size_t m_next = 0;  // where the sweep through the rest goes on
  std::vector<FetchedIcon> m_fetched;
};

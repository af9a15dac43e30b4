#include "ocx/fileview/IconFetcher.h"

#include <objbase.h>

#include <system_error>

#include "framework/Handles.h"

#include "ocx/fileview/IconSource.h"

namespace {
// Items asked for beyond this many push out the oldest asked (they are no longer in view);
// the sweep through the rest still finds them.
const size_t kMostPreferred = 512;

}  // namespace

bool CIconFetcher::Start(HWND window, UINT message) {
  Stop();
  {
    std::lock_guard<std::mutex> hold(m_lock);
    m_window = window;
    m_message = message;
    m_stopping = false;
    m_running = true;
  }
  try {
    m_thread = std::thread(&CIconFetcher::Run, this);
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_running = false;
    return false;
  }
  return true;
}

void CIconFetcher::Stop() {
  {
    std::lock_guard<std::mutex> hold(m_lock);
    m_stopping = true;
  }
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard<std::mutex> hold(m_lock);
  m_running = false;
  m_jobs.clear();
  m_taken.clear();
  m_preferred.clear();
  m_next = 0;
  m_fetched.clear();
}

bool CIconFetcher::IsRunning() const {
  std::lock_guard<std::mutex> hold(m_lock);
  return m_running;
}

void CIconFetcher::Fetch(std::vector<IconJob> jobs) {
  {
    std::lock_guard<std::mutex> hold(m_lock);
    ++m_generation;
    m_jobs = std::move(jobs);
    m_taken.resize(m_jobs.size());
    for (size_t i = 0; i < m_jobs.size(); ++i) m_taken[i] = m_jobs[i].known;
    m_preferred.clear();
    m_next = 0;
    m_fetched.clear();
  }
  m_wake.notify_all();
}

void CIconFetcher::Prefer(int index) {
  {
    std::lock_guard<std::mutex> hold(m_lock);
    if (index < 0 || size_t(index) >= m_jobs.size() || m_taken[size_t(index)]) return;
    if (m_preferred.size() >= kMostPreferred) m_preferred.pop_front();
    m_preferred.push_back(index);
  }
  m_wake.notify_all();
}

std::vector<FetchedIcon> CIconFetcher::TakeFetched() {
  std::lock_guard<std::mutex> hold(m_lock);
  std::vector<FetchedIcon> fetched;
  fetched.swap(m_fetched);
  return fetched;
}

// An exception must not end a thread; the view hears that the thread is gone and fetches
// the rest itself.
void CIconFetcher::Run() {
  m_threadId = GetCurrentThreadId();
  try {
    RunFetching();
  } catch (...) {
  }
  std::lock_guard<std::mutex> hold(m_lock);
  m_running = false;
  m_threadId = 0;
  if (!m_stopping) PostMessageA(m_window, m_message, 0, 0);
}

void CIconFetcher::RunFetching() {
  ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  CIconSource source(m_stopping);
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    if (m_stopping) return;
    int index = TakeNextJob();
    if (index < 0) {
      m_wake.wait(lock);
      continue;
    }
    IconJob job = m_jobs[size_t(index)];
    unsigned generation = m_generation;
    lock.unlock();
    int icon = source.IconOf(job.path.c_str(), job.name.c_str(), job.isFolder);
    lock.lock();
    if (generation != m_generation) continue;  // looked up for a listing no longer shown
    if (m_fetched.empty()) PostMessageA(m_window, m_message, 0, 0);
    m_fetched.push_back({index, icon});
  }
}

// The next item to look up, or -1 when all are taken: asked-for items first.
int CIconFetcher::TakeNextJob() {
  while (!m_preferred.empty()) {
    size_t index = size_t(m_preferred.front());
    m_preferred.pop_front();
    if (!m_taken[index]) {
      m_taken[index] = true;
      return int(index);
    }
  }
  while (m_next < m_jobs.size()) {
    size_t index = m_next++;
    if (!m_taken[index]) {
      m_taken[index] = true;
      return int(index);
    }
  }
  return -1;
}

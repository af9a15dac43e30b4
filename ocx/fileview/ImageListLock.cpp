#include "ocx/fileview/ImageListLock.h"

#include <chrono>

namespace {
const std::chrono::milliseconds kDrawingWait(40);
}  // namespace

std::recursive_timed_mutex& ImageListLock() {
  static std::recursive_timed_mutex lock;
  return lock;
}

void CListDrawingHold::LeaveMessage() {
  if (--m_depth <= 0) {
    m_depth = 0;
    Release();
  }
}

void CListDrawingHold::BeforeDrawing() {
  if (m_held || m_gaveUp) return;
  m_held = ImageListLock().try_lock_for(kDrawingWait);
  m_gaveUp = !m_held;
}

void CListDrawingHold::Release() {
  if (m_held) ImageListLock().unlock();
  m_held = m_gaveUp = false;
}

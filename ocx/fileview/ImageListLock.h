// The shell's system image list is shared by every file view and by the icon threads that
// add to it. Wine's image lists have no lock of their own: an icon added on one thread while
// another draws from the list comes out spoilt for good. Every icon look-up holds
// ImageListLock(), and a list view holds it while it draws items, through CListDrawingHold.
#pragma once

#include <mutex>

std::recursive_timed_mutex& ImageListLock();

// A list view's hold of the lock, on its thread: taken when it starts drawing its items
// (the layout before draws no image) and let go when the list view's message that drew ends.
class CListDrawingHold {
 public:
  CListDrawingHold() = default;
  ~CListDrawingHold() { Release(); }
  CListDrawingHold(const CListDrawingHold&) = delete;
  CListDrawingHold& operator=(const CListDrawingHold&) = delete;

  // Around every message the list view handles.
  void EnterMessage() { ++m_depth; }
  void LeaveMessage();
  // Before the items are drawn. Waits for a look-up under way, though not for long and only
  // once a message: a slow network shortcut must not keep the view from drawing.
  void BeforeDrawing();

 private:
  void Release();

  int m_depth = 0;
  bool m_held = false;
  bool m_gaveUp = false;
};

// Where the bar goes for the placement settings: pure arithmetic, no Win32.
#pragma once

#include <optional>

struct BarFlags {
  bool loadBottom = false;
  bool hideMemory = false;
  bool hideCpu = false;
  bool hideMp3 = false;
};

struct BarRect {
  int x, y, width, height;
  bool operator==(const BarRect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

// The rectangle the bar moves to, in screen pixels, or nothing when no option is set (the
// bar keeps its template place). The table's rectangles are laid out for a 1024 x 768
// screen; on another size they keep their place relative to the screen's top or bottom
// edge and its horizontal centre.
std::optional<BarRect> BarPlacement(const BarFlags& flags, int screenWidth, int screenHeight);

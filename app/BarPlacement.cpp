#include "app/BarPlacement.h"

namespace {
struct Row {
  bool (*applies)(const BarFlags&);
  BarRect rect;
};

// Later rows that apply replace earlier ones: the strongest hiding option sets the width,
// loadbottom the height on the screen.
const Row kRows[] = {
    {[](const BarFlags& f) { return f.loadBottom; }, {14, 654, 989, 97}},
    {[](const BarFlags& f) { return f.hideMemory; }, {80, 0, 862, 97}},
    {[](const BarFlags& f) { return f.hideMemory && f.loadBottom; }, {80, 654, 862, 97}},
    {[](const BarFlags& f) { return f.hideCpu; }, {117, 0, 790, 97}},
    {[](const BarFlags& f) { return f.hideCpu && f.loadBottom; }, {117, 654, 790, 97}},
    {[](const BarFlags& f) { return f.hideMp3; }, {220, 0, 581, 97}},
    {[](const BarFlags& f) { return f.hideMp3 && f.loadBottom; }, {220, 654, 581, 97}},
};

const int kDesignWidth = 1024;
const int kDesignHeight = 768;
}  // namespace

std::optional<BarRect> BarPlacement(const BarFlags& flags, int screenWidth, int screenHeight) {
  std::optional<BarRect> placed;
  for (const Row& row : kRows)
    if (row.applies(flags)) placed = row.rect;
  if (!placed) return placed;
  placed->x += (screenWidth - kDesignWidth) / 2;
  if (placed->y != 0) placed->y += screenHeight - kDesignHeight;
  return placed;
}

// HtmlPage: the small part of HTML that the program's window pages use, read into a layout
// model. No Win32 in it. What it does not know it skips; it never fails, so a damaged page
// still gives a page (perhaps an empty one).
//
// Known: body (id, bgcolor or a background-color style), table (width), tr (height),
// td (align, valign), button and input type=button (id, caption, a width style), br, text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace html {

enum class Align { kLeft, kCentre, kRight };
enum class VAlign { kTop, kMiddle, kBottom };

// One thing placed in a cell, each on a line of its own.
struct Item {
  bool isButton = false;
  std::string id;    // element id, buttons only
  std::string text;  // caption or text
  int widthPx = 0;   // from a width style or attribute; 0: as wide as its caption
};

struct Cell {
  Align align = Align::kLeft;
  VAlign valign = VAlign::kMiddle;
  std::vector<Item> items;
};

struct Row {
  int heightPx = 0;  // 0: as high as its content
  std::vector<Cell> cells;
};

struct Table {
  int widthPercent = 0;  // one of the two, or neither (as wide as the content)
  int widthPx = 0;
  std::vector<Row> rows;
};

struct Page {
  std::string bodyId;
  bool hasBackground = false;
  uint32_t background = 0;    // 0x00BBGGRR
  std::vector<Table> tables;  // text outside any table becomes a table of its own
};

// Pages larger than this are not read at all.
constexpr size_t kMaxPageBytes = 256 * 1024;

Page ParsePage(const std::string& text);

// "#RRGGBB", "#RGB" or a few colour names, as 0x00BBGGRR; false when not understood.
bool ParseColour(const std::string& text, uint32_t* colour);

}  // namespace html

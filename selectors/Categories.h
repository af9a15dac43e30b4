// The eight categories of the bar, one row each. The bar's buttons, its timers and slots, the
// selector window classes, the resource ids and the setup's folder list are made from this
// table or checked against it. Plain C++, so that the native tests can read it too.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

struct CategoryRow {
  unsigned button;             // the caption button on the bar
  std::string_view className;  // run-time class name of the selector window
  unsigned templateId;         // the selector window's dialog template
  unsigned pageId;             // and its HTML page
  std::string_view title;      // the template's window title
  std::string_view folder;     // shown under C:\tyb\TYBICONS, fixed in the template
  unsigned timerId;            // the bar's timer that ends the window; its slot is the row
};

// In timer order: a row's index is its slot on the bar, its timer id the index plus one.
// clang-format off
inline constexpr CategoryRow kCategories[] = {
    {1047, "vide",    152, 104, "Video",    "VIDEO",    1},
    {1045, "audio",   129, 103, "Audio",    "AUDIO",    2},
    {1046, "office",  154, 105, "Office",   "OFFICE",   3},
    {1043, "web",     156, 106, "Internet", "INTERNET", 4},
    {1048, "graphic", 158, 107, "Graphics", "GRAPHICS", 5},
    {1044, "program", 160, 108, "Program",  "PROGRAMS", 6},
    {1042, "syst",    162, 110, "System",   "SYSTEM",   7},
    {1041, "photo",   164, 111, "Photos",   "PHOTOS",   8},
};
// clang-format on
inline constexpr std::size_t kCategoryCount = std::size(kCategories);

// The folder that holds the categories' folders.
inline constexpr std::string_view kCategoryParent = "C:\\tyb\\TYBICONS";

// The folder the window of category `row` shows, as its template gives it.
inline std::string CategoryFolder(std::size_t row) {
  return std::string(kCategoryParent) + "\\" + std::string(kCategories[row].folder);
}

// The row whose button has id `button`, or kCategoryCount when no category has that button.
constexpr std::size_t CategoryOfButton(unsigned button) {
  for (std::size_t row = 0; row < kCategoryCount; ++row)
    if (kCategories[row].button == button) return row;
  return kCategoryCount;
}

// The row of the selector class named `className`. Asked in a constant expression (as the
// selector classes do), a name that is not in the table does not compile.
constexpr std::size_t CategoryOf(std::string_view className) {
  for (std::size_t row = 0; row < kCategoryCount; ++row)
    if (kCategories[row].className == className) return row;
  throw "no category has this class name";
}

// The row whose timer has id `timerId`, or kCategoryCount when no category has that timer.
constexpr std::size_t CategoryOfTimer(std::size_t timerId) {
  return timerId >= 1 && timerId <= kCategoryCount ? timerId - 1 : kCategoryCount;
}

namespace categories {
// No two rows share a value of `field`.
template <class Field> constexpr bool Distinct(Field CategoryRow::*field) {
  for (std::size_t a = 0; a < kCategoryCount; ++a)
    for (std::size_t b = a + 1; b < kCategoryCount; ++b)
      if (kCategories[a].*field == kCategories[b].*field) return false;
  return true;
}
// Each row's timer is the one that CategoryOfTimer maps back to it.
constexpr bool TimersFollowRows() {
  for (std::size_t row = 0; row < kCategoryCount; ++row)
    if (CategoryOfTimer(kCategories[row].timerId) != row) return false;
  return true;
}
}  // namespace categories

static_assert(categories::Distinct(&CategoryRow::button) && categories::Distinct(&CategoryRow::className) &&
                  categories::Distinct(&CategoryRow::templateId) && categories::Distinct(&CategoryRow::pageId) &&
                  categories::Distinct(&CategoryRow::folder),
              "each category has its own button, class, template, page and folder");
static_assert(categories::TimersFollowRows(), "a category's timer id is its row plus one");

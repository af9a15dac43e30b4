// Reading pages: the program's own page, and damaged text that must still give a page.
#include <gtest/gtest.h>

#include <string>

#include "framework/HtmlPage.h"

namespace {
const char kSelectorPage[] =
    "<html><body id=\"photo\" style=\"background-color:#D3D3D3\"><table width=\"100%\">"
    "<tr><td align=\"right\" valign=\"top\"><button id=\"ButtonOK\" style=\"width:100px\">OK</button><br>"
    "<button id=\"ButtonCancel\" style=\"width: 100px\">Cancel</button></td></tr>"
    "<tr height=\"75\"><td align=\"center\" valign=\"bottom\">TODO: Place   controls\nhere.</td></tr>"
    "</table></body></html>";
}  // namespace

TEST(HtmlPage, ReadsTheWindowsPageWithItsLayout) {
  html::Page page = html::ParsePage(kSelectorPage);
  EXPECT_EQ(page.bodyId, "photo");
  ASSERT_TRUE(page.hasBackground);
  EXPECT_EQ(page.background, 0xD3D3D3u);
  ASSERT_EQ(page.tables.size(), 1u);
  const html::Table& table = page.tables[0];
  EXPECT_EQ(table.widthPercent, 100);
  ASSERT_EQ(table.rows.size(), 2u);
  const html::Cell& buttons = table.rows[0].cells.at(0);
  EXPECT_EQ(buttons.align, html::Align::kRight);
  EXPECT_EQ(buttons.valign, html::VAlign::kTop);
  ASSERT_EQ(buttons.items.size(), 2u);
  EXPECT_TRUE(buttons.items[0].isButton);
  EXPECT_EQ(buttons.items[0].id, "ButtonOK");
  EXPECT_EQ(buttons.items[0].text, "OK");
  EXPECT_EQ(buttons.items[0].widthPx, 100);
  EXPECT_EQ(buttons.items[1].id, "ButtonCancel");
  EXPECT_EQ(buttons.items[1].widthPx, 100);
  EXPECT_EQ(table.rows[1].heightPx, 75);
  const html::Cell& text = table.rows[1].cells.at(0);
  EXPECT_EQ(text.align, html::Align::kCentre);
  EXPECT_EQ(text.valign, html::VAlign::kBottom);
  ASSERT_EQ(text.items.size(), 1u);
  EXPECT_FALSE(text.items[0].isButton);
  EXPECT_EQ(text.items[0].text, "TODO: Place controls here.");
}

TEST(HtmlPage, ColoursByHashAndName) {
  uint32_t colour = 0;
  EXPECT_TRUE(html::ParseColour("#102030", &colour));
  EXPECT_EQ(colour, 0x302010u);
  EXPECT_TRUE(html::ParseColour(" #fff ", &colour));
  EXPECT_EQ(colour, 0xFFFFFFu);
  EXPECT_TRUE(html::ParseColour("LightGrey", &colour));
  EXPECT_EQ(colour, 0xD3D3D3u);
  EXPECT_FALSE(html::ParseColour("#12345", &colour));
  EXPECT_FALSE(html::ParseColour("#gggggg", &colour));
  EXPECT_FALSE(html::ParseColour("", &colour));
}

TEST(HtmlPage, DamagedTextStillGivesAPage) {
  for (const char* text : {"", "<", ">", "<<<<", "<body id=", "<table width=\"999999%\"><tr height=99999999>",
                           "<td><td><td></tr></tr></table></table><button>", "&&&;;&#;", "<!-- never closed",
                           "<script>document.write('<button id=x>')", "<input type=button", "</body></html>"}) {
    html::Page page = html::ParsePage(text);
    for (const html::Table& table : page.tables) {
      EXPECT_LE(table.widthPercent, 100) << text;
      for (const html::Row& row : table.rows) EXPECT_LE(row.heightPx, 4096) << text;
    }
  }
  html::Page script = html::ParsePage("<script>x = '<button id=x>'</script><button id=y>Y</button>");
  ASSERT_EQ(script.tables.size(), 1u);
  ASSERT_EQ(script.tables[0].rows.at(0).cells.at(0).items.size(), 1u);
  EXPECT_EQ(script.tables[0].rows[0].cells[0].items[0].id, "y");
}

TEST(HtmlPage, AHugePageIsNotRead) {
  std::string huge = "<body id=\"big\">";
  huge.resize(html::kMaxPageBytes + 1, ' ');
  html::Page page = html::ParsePage(huge);
  EXPECT_TRUE(page.bodyId.empty());
  EXPECT_TRUE(page.tables.empty());
}

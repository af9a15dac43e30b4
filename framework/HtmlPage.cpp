#include "framework/HtmlPage.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace html {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

// Runs of white space as one blank, as a browser shows text.
std::string Collapse(const std::string& text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

std::string Unescape(const std::string& text) {
  static const std::map<std::string, char> entities{{"amp", '&'},  {"lt", '<'},   {"gt", '>'},
                                                    {"quot", '"'}, {"nbsp", ' '}, {"apos", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    size_t semi = text[i] == '&' ? text.find(';', i) : std::string::npos;
    if (semi != std::string::npos && semi - i <= 6) {
      auto known = entities.find(Lower(text.substr(i + 1, semi - i - 1)));
      if (known != entities.end()) {
        out += known->second;
        i = semi;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

struct Tag {
  std::string name;                               // lower case; "/name" for an end tag
  std::map<std::string, std::string> attributes;  // names in lower case
};

// Reads the tag whose '<' is at `at`; returns the position after its '>'.
size_t ReadTag(const std::string& text, size_t at, Tag* tag) {
  size_t end = text.find('>', at);
  if (end == std::string::npos) end = text.size();
  std::string inside = text.substr(at + 1, end - at - 1);
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < inside.size() && std::isspace(static_cast<unsigned char>(inside[i]))) ++i;
  };
  auto word = [&] {
    size_t start = i;
    while (i < inside.size() && !std::isspace(static_cast<unsigned char>(inside[i])) && inside[i] != '=' &&
           inside[i] != '/')
      ++i;
    return Lower(inside.substr(start, i - start));
  };
  skipBlanks();
  bool closing = i < inside.size() && inside[i] == '/';
  if (closing) ++i;
  tag->name = (closing ? "/" : "") + word();
  while (i < inside.size()) {
    skipBlanks();
    if (i < inside.size() && inside[i] == '/') {
      ++i;
      continue;
    }
    std::string name = word();
    if (name.empty()) {
      ++i;
      continue;
    }
    skipBlanks();
    std::string value;
    if (i < inside.size() && inside[i] == '=') {
      ++i;
      skipBlanks();
      char quote = i < inside.size() ? inside[i] : 0;
      if (quote == '"' || quote == '\'') {
        size_t close = inside.find(quote, i + 1);
        if (close == std::string::npos) close = inside.size();
        value = inside.substr(i + 1, close - i - 1);
        i = close + 1;
      } else {
        size_t start = i;
        while (i < inside.size() && !std::isspace(static_cast<unsigned char>(inside[i]))) ++i;
        value = inside.substr(start, i - start);
      }
    }
    tag->attributes[name] = Unescape(value);
  }
  return end < text.size() ? end + 1 : end;
}

std::string Attribute(const Tag& tag, const char* name) {
  auto found = tag.attributes.find(name);
  return found == tag.attributes.end() ? std::string() : found->second;
}

// The value of `property` in a style attribute ("a:b; c:d").
std::string StyleValue(const Tag& tag, const char* property) {
  std::string style = Lower(Attribute(tag, "style"));
  size_t at = 0;
  while (at < style.size()) {
    size_t semi = style.find(';', at);
    if (semi == std::string::npos) semi = style.size();
    std::string part = style.substr(at, semi - at);
    size_t colon = part.find(':');
    if (colon != std::string::npos && Trim(part.substr(0, colon)) == property) return Trim(part.substr(colon + 1));
    at = semi + 1;
  }
  return "";
}

// "100", "100px": pixels; anything else 0. Kept within what a window can be.
int Pixels(const std::string& text) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return 0;
  long value = std::strtol(text.c_str(), nullptr, 10);
  return int(value < 0 ? 0 : value > 4096 ? 4096 : value);
}

class Builder {
 public:
  Page Build(const std::string& text) {
    size_t at = 0;
    while (at < text.size()) {
      size_t open = text.find('<', at);
      if (open == std::string::npos) open = text.size();
      AddText(text.substr(at, open - at));
      if (open >= text.size()) break;
      if (text.compare(open, 4, "<!--") == 0) {
        size_t close = text.find("-->", open + 4);
        at = close == std::string::npos ? text.size() : close + 3;
        continue;
      }
      Tag tag;
      at = ReadTag(text, open, &tag);
      OnTag(tag);
      if (tag.name == "script" || tag.name == "style") at = SkipTo(text, at, "</" + tag.name);
    }
    return std::move(m_page);
  }

 private:
  static size_t SkipTo(const std::string& text, size_t at, const std::string& end) {
    size_t found = Lower(text).find(end, at);
    return found == std::string::npos ? text.size() : found;
  }

  void OnTag(const Tag& tag) {
    const std::string& name = tag.name;
    if (name == "body") OnBody(tag);
    else if (name == "table") OpenTable(tag);
    else if (name == "/table") CloseTable();
    else if (name == "tr") NewRow(tag);
    else if (name == "td" || name == "th") NewCell(tag);
    else if (name == "/td" || name == "/th" || name == "/tr") m_cell = nullptr;
    else if (name == "button") OpenButton(tag);
    else if (name == "/button") m_button = nullptr;
    else if (name == "input" && Lower(Attribute(tag, "type")) == "button") AddInputButton(tag);
    else if (name == "br" || name == "p" || name == "/p" || name == "div" || name == "/div") m_lineBreak = true;
  }

  void OnBody(const Tag& tag) {
    m_page.bodyId = Attribute(tag, "id");
    std::string colour = StyleValue(tag, "background-color");
    if (colour.empty()) colour = Attribute(tag, "bgcolor");
    m_page.hasBackground = ParseColour(colour, &m_page.background);
  }

  void CloseTable() {
    m_inTable = false;
    m_cell = nullptr;
  }

  void OpenTable(const Tag& tag) {
    m_page.tables.emplace_back();
    m_inTable = true;
    m_cell = nullptr;
    std::string width = Trim(Attribute(tag, "width"));
    if (width.empty()) width = StyleValue(tag, "width");
    Table& table = m_page.tables.back();
    if (!width.empty() && width.back() == '%') table.widthPercent = std::min(100, Pixels(width));
    else table.widthPx = Pixels(width);
  }

  Table& CurrentTable() {
    if (!m_inTable || m_page.tables.empty()) {
      m_page.tables.emplace_back();
      m_page.tables.back().widthPercent = 100;
      m_inTable = true;
    }
    return m_page.tables.back();
  }

  void NewRow(const Tag& tag) {
    Row row;
    row.heightPx = Pixels(Trim(Attribute(tag, "height")));
    CurrentTable().rows.push_back(row);
    m_cell = nullptr;
  }

  void NewCell(const Tag& tag) {
    Table& table = CurrentTable();
    if (table.rows.empty()) table.rows.emplace_back();
    Cell cell;
    std::string align = Lower(Attribute(tag, "align")), valign = Lower(Attribute(tag, "valign"));
    if (align == "center" || align == "centre" || align == "middle") cell.align = Align::kCentre;
    if (align == "right") cell.align = Align::kRight;
    if (valign == "top") cell.valign = VAlign::kTop;
    if (valign == "bottom") cell.valign = VAlign::kBottom;
    table.rows.back().cells.push_back(cell);
    m_cell = &table.rows.back().cells.back();
    m_lineBreak = true;
  }

  Cell& CurrentCell() {
    if (!m_cell) {
      Table& table = CurrentTable();
      table.rows.emplace_back();
      table.rows.back().cells.emplace_back();
      m_cell = &table.rows.back().cells.back();
    }
    return *m_cell;
  }

  static int WidthOf(const Tag& tag) {
    int width = Pixels(StyleValue(tag, "width"));
    return width ? width : Pixels(Trim(Attribute(tag, "width")));
  }

  void OpenButton(const Tag& tag) {
    Item item;
    item.isButton = true;
    item.id = Attribute(tag, "id");
    item.widthPx = WidthOf(tag);
    CurrentCell().items.push_back(item);
    m_button = &m_cell->items.back();
    m_lineBreak = true;
  }

  void AddInputButton(const Tag& tag) {
    Item item;
    item.isButton = true;
    item.id = Attribute(tag, "id");
    item.text = Attribute(tag, "value");
    item.widthPx = WidthOf(tag);
    CurrentCell().items.push_back(item);
    m_button = nullptr;
    m_lineBreak = true;
  }

  void AddText(const std::string& raw) {
    std::string text = Collapse(Unescape(raw));
    if (text.empty()) return;
    if (m_button) {
      m_button->text += (m_button->text.empty() ? "" : " ") + text;
      return;
    }
    Cell& cell = CurrentCell();
    if (m_lineBreak || cell.items.empty() || cell.items.back().isButton) {
      Item item;
      item.text = text;
      cell.items.push_back(item);
      m_lineBreak = false;
    } else {
      cell.items.back().text += " " + text;
    }
  }

  Page m_page;
  bool m_inTable = false;
  Cell* m_cell = nullptr;
  Item* m_button = nullptr;
  bool m_lineBreak = true;
};

}  // namespace

bool ParseColour(const std::string& raw, uint32_t* colour) {
  std::string text = Lower(Trim(raw));
  static const std::map<std::string, std::string> names{
      {"white", "#ffffff"}, {"black", "#000000"},     {"silver", "#c0c0c0"},    {"gray", "#808080"},
      {"grey", "#808080"},  {"lightgrey", "#d3d3d3"}, {"lightgray", "#d3d3d3"}, {"red", "#ff0000"},
      {"green", "#008000"}, {"blue", "#0000ff"},      {"yellow", "#ffff00"},    {"buttonface", "#f0f0f0"}};
  auto named = names.find(text);
  if (named != names.end()) text = named->second;
  if (text.size() == 4 && text[0] == '#') text = {'#', text[1], text[1], text[2], text[2], text[3], text[3]};
  if (text.size() != 7 || text[0] != '#') return false;
  for (size_t i = 1; i < 7; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  unsigned long rgb = std::strtoul(text.c_str() + 1, nullptr, 16);
  *colour = uint32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
  return true;
}

Page ParsePage(const std::string& text) {
  if (text.size() > kMaxPageBytes) return Page();
  return Builder().Build(text);
}

}  // namespace html

// The category table against what the compiler cannot check: the selector templates'
// titles and folders, the pages' body ids, and the setup script's folder lists.
#include "selectors/Categories.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string Source(const std::string& path) {
  std::ifstream file(std::string(TIDYBAR_SOURCE_DIR) + "/" + path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Every match of `pattern` in `text`, which must outlive them.
std::vector<std::smatch> All(const std::string& text, const std::string& pattern) {
  std::regex re(pattern);
  return {std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()};
}
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  size_t start = text.find(from);
  return start == std::string::npos ? "" : text.substr(start, text.find(to, start) - start);
}
}  // namespace

TEST(Categories, EachTemplateHasItsCategorysTitleAndFolder) {
  std::map<std::string, unsigned> ids;
  std::string header = Source("res/resource.h");
  for (const std::smatch& m : All(header, R"(#define (\w+) (\d+))")) ids[m[1]] = std::stoul(m[2]);
  std::string script = Source("res/selectors.rc");
  std::map<unsigned, std::pair<std::string, std::string>> templates;
  for (const std::smatch& m : All(script, R"re((\w+) DIALOGEX[\s\S]*?CAPTION "([^"]*)"[\s\S]*?TYBICONS\\\\(\w+);)re"))
    templates[ids[m[1]]] = {m[2], m[3]};
  ASSERT_EQ(templates.size(), kCategoryCount);
  for (const CategoryRow& row : kCategories) {
    EXPECT_EQ(templates[row.templateId].first, row.title) << row.className;
    EXPECT_EQ(templates[row.templateId].second, row.folder) << row.className;
  }
}

TEST(Categories, EachPageCarriesItsClassNameAsBodyId) {
  std::string list = Between(Source("res/pages/pages.cmake"), "set(TIDYBAR_PAGES", ")");
  std::map<unsigned, std::string> bodies;
  for (const std::smatch& m : All(list, R"((\d+) (\w+))")) bodies[std::stoul(m[1])] = m[2];
  for (const CategoryRow& row : kCategories) EXPECT_EQ(bodies[row.pageId], row.className) << row.pageId;
}

TEST(Categories, SetupMakesTheirFoldersAndPutsSamplesOnlyInThem) {
  std::string script = Source("setup/tidybar.nsi");
  std::set<std::string> expected, made;
  for (const CategoryRow& row : kCategories) expected.emplace(row.folder);
  std::string categories = Between(script, "!macro ForEachCategory", "!macroend");
  auto lines = All(categories, R"(\$\{_macro\} (\w+))");
  for (const std::smatch& m : lines) made.insert(m[1]);
  EXPECT_EQ(made, expected);
  EXPECT_EQ(lines.size(), kCategoryCount);
  std::string samples = Between(script, "!macro ForEachSample", "!macroend");
  auto sampleLines = All(samples, R"(\$\{_macro\} (\w+) ")");
  EXPECT_FALSE(sampleLines.empty());
  for (const std::smatch& m : sampleLines) EXPECT_EQ(expected.count(m[1]), 1u) << m[1];
}

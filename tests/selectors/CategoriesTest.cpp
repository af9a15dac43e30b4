// The category table against what the compiler cannot check: the selector templates'
// titles and folders, the pages' body ids, and the setup script's folder list.
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
// The groups of each match of `pattern` in the source file `path`.
std::vector<std::vector<std::string>> Find(const std::string& path, const std::string& pattern) {
  std::ifstream file(std::string(TIDYBAR_SOURCE_DIR) + "/" + path);
  std::stringstream buffer;
  buffer << file.rdbuf();
  std::string text = buffer.str();
  std::vector<std::vector<std::string>> found;
  std::regex re(pattern);
  for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m)
    found.emplace_back(++m->begin(), m->end());
  return found;
}
}  // namespace

TEST(Categories, EachTemplateAndPageAgreesWithItsRow) {
  std::map<std::string, unsigned> ids;
  for (auto& m : Find("res/resource.h", R"(#define (\w+) (\d+))")) ids[m[0]] = std::stoul(m[1]);
  std::map<unsigned, std::vector<std::string>> templates;
  for (auto& m : Find("res/selectors.rc", R"re((\w+) DIALOGEX[\s\S]*?CAPTION "([^"]*)"[\s\S]*?root=(.*)\\\\(\w+);)re"))
    templates[ids[m[0]]] = {m[1], std::regex_replace(m[2], std::regex(R"(\\\\)"), "\\") + "\\" + m[3]};
  std::map<unsigned, std::string> pageBodies;
  for (auto& m : Find("res/pages/pages.cmake", R"((\d+) ([a-z]+)\b)")) pageBodies[std::stoul(m[0])] = m[1];
  EXPECT_EQ(templates.size(), kCategoryCount);
  for (std::size_t i = 0; i < kCategoryCount; ++i) {
    const CategoryRow& row = kCategories[i];
    EXPECT_EQ(templates[row.templateId], (std::vector<std::string>{std::string(row.title), CategoryFolder(i)}));
    EXPECT_EQ(pageBodies[row.pageId], row.className) << "body id of page " << row.pageId;
  }
}

TEST(Categories, EachButtonFindsItsRow) {
  for (std::size_t row = 0; row < kCategoryCount; ++row) EXPECT_EQ(CategoryOfButton(kCategories[row].button), row);
  EXPECT_EQ(CategoryOfButton(1040), kCategoryCount);  // the bar's Close button
}

TEST(Categories, SetupMakesAFolderForEachCategory) {
  std::multiset<std::string> expected, made;
  for (const CategoryRow& row : kCategories) expected.emplace(row.folder);
  for (auto& m : Find("setup/tidybar.nsi", R"(\$\{_macro\} (\w+)\r?\n)")) made.insert(m[0]);
  EXPECT_EQ(made, expected);
}

// Small helpers for the file operation tests: build a tree of files and read one back.
#pragma once

#include <set>
#include <string>

namespace filetree {

// Creates root\relative with its missing folders.
void Make(const std::string& root, const std::string& relative, const std::string& content);
void MakeFolder(const std::string& path);
void Remove(const std::string& path);
bool Exists(const std::string& path);
void SetReadOnly(const std::string& path);
// Every item below `root`, relative to it; folders end with "\".
std::set<std::string> Tree(const std::string& root);

}  // namespace filetree

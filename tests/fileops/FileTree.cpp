#include "tests/fileops/FileTree.h"

#include <windows.h>
#include <shellapi.h>

#include "tests/support/TestKit.h"

namespace filetree {

void MakeFolder(const std::string& path) {
  size_t separator = path.find_last_of('\\');
  if (separator != std::string::npos && separator > 2) MakeFolder(path.substr(0, separator));
  CreateDirectoryA(path.c_str(), nullptr);
}

void Make(const std::string& root, const std::string& relative, const std::string& content) {
  std::string path = root + "\\" + relative;
  MakeFolder(path.substr(0, path.find_last_of('\\')));
  testkit::WriteTextFile(path, content);
}

void Remove(const std::string& path) { testkit::RemoveTree(path); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetReadOnly(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

namespace {
void Collect(const std::string& folder, const std::string& prefix, std::set<std::string>& items) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      items.insert(prefix + name + "\\");
      Collect(folder + "\\" + name, prefix + name + "\\", items);
    } else {
      items.insert(prefix + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}
}  // namespace

std::set<std::string> Tree(const std::string& root) {
  std::set<std::string> items;
  Collect(root, "", items);
  return items;
}

}  // namespace filetree

// Copy and delete of a folder tree by the file operations engine, beside the reference that
// matters, a plain loop of FindFirstFileA, CopyFileA and DeleteFileA over the same tree, and
// the slower shell references (SHFileOperationA, xcopy /E /I and rd /S /Q), all in the same
// run on the same tree, in an order rotated per round. After every copy each file's size
// and content are checked against the source. Usage: fileops_bench <work folder> [rounds]
// The tree: 2,000 small files in 50 folders and 10 files of 20 MB.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/Stats.h"
#include "fileops/FileOpsEngine.h"

#include "bench/support/Clock.h"

namespace {
const int kFolders = 50;
const int kFilesPerFolder = 40;
const int kBigFiles = 10;
const DWORD kBigFileBytes = 20u << 20;
const int kExpectedFiles = kFolders * kFilesPerFolder + kBigFiles;

bool WriteFileBytes(const std::string& path, const std::vector<char>& bytes, DWORD size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), size, &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

bool MakeTree(const std::string& root) {
  std::vector<char> bytes(kBigFileBytes);
  unsigned state = 12345;
  for (char& b : bytes) b = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  CreateDirectoryA(root.c_str(), nullptr);
  for (int f = 0; f < kFolders; ++f) {
    std::string folder = root + "\\folder" + std::to_string(f);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      DWORD size = 512 + DWORD((f * 131 + i * 977) % 3584);
      if (!WriteFileBytes(folder + "\\file" + std::to_string(i) + ".dat", bytes, size)) return false;
    }
  }
  for (int i = 0; i < kBigFiles; ++i)
    if (!WriteFileBytes(root + "\\big" + std::to_string(i) + ".bin", bytes, kBigFileBytes)) return false;
  return true;
}

// Calls `visit(name, isFolder)` for each entry of `folder` until one returns false; false
// when the folder cannot be listed or a visit failed.
template <class Visit> bool EachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") ok = visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (ok && FindNextFileA(search, &found));
  FindClose(search);
  return ok;
}

int CountFiles(const std::string& folder) {
  int count = 0;
  EachEntry(folder, [&](const std::string& name, bool isFolder) {
    count += isFolder ? CountFiles(folder + "\\" + name) : 1;
    return true;
  });
  return count;
}

// The plain reference: what a program does with no engine at all.
bool PlainCopy(const std::string& from, const std::string& to) {
  if (!CreateDirectoryA(to.c_str(), nullptr)) return false;
  return EachEntry(from, [&](const std::string& name, bool isFolder) {
    std::string source = from + "\\" + name, target = to + "\\" + name;
    return isFolder ? PlainCopy(source, target) : CopyFileA(source.c_str(), target.c_str(), TRUE) != FALSE;
  });
}

bool PlainDelete(const std::string& folder) {
  bool emptied = EachEntry(folder, [&](const std::string& name, bool isFolder) {
    std::string path = folder + "\\" + name;
    return isFolder ? PlainDelete(path) : DeleteFileA(path.c_str()) != FALSE;
  });
  return emptied && RemoveDirectoryA(folder.c_str());
}

bool ReadAll(const std::string& path, std::vector<char>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) != FALSE;
  bytes.resize(ok ? size_t(size.QuadPart) : 0);
  DWORD read = 0;
  if (ok && !bytes.empty())
    ok = ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) && read == bytes.size();
  CloseHandle(file);
  return ok;
}

// Every file of `source` is in `copy` with the same size and bytes; the first difference, if any.
std::string FirstDifference(const std::string& source, const std::string& copy) {
  std::string difference;
  std::vector<char> a, b;
  bool listed = EachEntry(source, [&](const std::string& name, bool isFolder) {
    std::string from = source + "\\" + name, to = copy + "\\" + name;
    if (isFolder) difference = FirstDifference(from, to);
    else if (!ReadAll(from, a) || !ReadAll(to, b)) difference = to + " cannot be read";
    else if (a.size() != b.size()) difference = to + " has another size";
    else if (a != b) difference = to + " has other content";
    return difference.empty();
  });
  return listed || !difference.empty() ? difference : source + " cannot be listed";
}

bool RunCommand(const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return false;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code == 0;
}

bool ShellOperation(UINT operation, const std::string& from, const std::string& to) {
  std::string fromList = from + std::string(1, '\0');
  std::string toList = to + std::string(1, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = operation;
  op.pFrom = fromList.c_str();
  op.pTo = operation == FO_DELETE ? nullptr : toList.c_str();
  op.fFlags = FOF_NO_UI;
  return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

// One way of copying `source` into the folder `into` (as into\<name>) and deleting it again.
struct Method {
  const char* name;
  std::function<bool(const std::string& source, const std::string& into, const std::string& copied)> copy;
  std::function<bool(const std::string& copied)> remove;
};

struct Timings {
  std::vector<double> copyMs, deleteMs;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fileops_bench <work folder> [rounds]\n");
    return 2;
  }
  std::string work = argv[1];
  int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::string source = work + "\\tree";
  ShellOperation(FO_DELETE, work, "");
  CreateDirectoryA(work.c_str(), nullptr);
  if (!MakeTree(source) || CountFiles(source) != kExpectedFiles) {
    std::fprintf(stderr, "could not build the tree in %s\n", work.c_str());
    return 1;
  }

  std::vector<Method> methods = {
      {"plain loop",
       [](const std::string& from, const std::string&, const std::string& copied) { return PlainCopy(from, copied); },
       [](const std::string& copied) { return PlainDelete(copied); }},
      {"engine",
       [](const std::string& from, const std::string& into, const std::string&) {
         return CFileOpsEngine().Copy(from.c_str(), into.c_str()) != FALSE;
       },
       [](const std::string& copied) { return CFileOpsEngine().Delete(copied.c_str()) != FALSE; }},
      {"SHFileOperationA",
       [](const std::string& from, const std::string& into, const std::string&) {
         return ShellOperation(FO_COPY, from, into);
       },
       [](const std::string& copied) { return ShellOperation(FO_DELETE, copied, ""); }},
      {"xcopy / rd",
       [](const std::string& from, const std::string&, const std::string& copied) {
         return RunCommand("xcopy \"" + from + "\" \"" + copied + "\" /E /I /Q /Y");
       },
       [](const std::string& copied) { return RunCommand("cmd /c rd /s /q \"" + copied + "\""); }},
  };

  std::vector<Timings> timings(methods.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < methods.size(); ++i) {
      size_t m = (i + round) % methods.size();  // rotate the order per round
      const Method& method = methods[m];
      std::string into = work + "\\into";
      std::string copied = into + "\\tree";
      CreateDirectoryA(into.c_str(), nullptr);
      double start = NowMs();
      bool copiedOk = method.copy(source, into, copied);
      double middle = NowMs();
      int count = CountFiles(copied);
      std::string difference = copiedOk ? FirstDifference(source, copied) : "";
      if (!difference.empty()) {
        std::fprintf(stderr, "%s copied wrongly: %s\n", method.name, difference.c_str());
        return 1;
      }
      double beforeDelete = NowMs();
      bool deletedOk = method.remove(copied);
      double end = NowMs();
      if (!copiedOk || count != kExpectedFiles || !deletedOk ||
          GetFileAttributesA(copied.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "%s failed: copy %d, %d files, delete %d\n", method.name, copiedOk, count, deletedOk);
        return 1;
      }
      timings[m].copyMs.push_back(middle - start);
      timings[m].deleteMs.push_back(end - beforeDelete);
      RemoveDirectoryA(into.c_str());
    }
  }

  std::printf("tree: %d small files in %d folders + %d files of %lu MB, %d rounds, every copy checked file by file\n",
              kFolders * kFilesPerFolder, kFolders, kBigFiles, static_cast<unsigned long>(kBigFileBytes >> 20), rounds);
  for (size_t m = 0; m < methods.size(); ++m) {
    std::printf("%s\n", methods[m].name);
    PrintSpread("copy", timings[m].copyMs, "ms", 0);
    PrintSpread("delete", timings[m].deleteMs, "ms", 0);
  }
  std::printf("against the plain loop (reference), per round:\n");
  for (size_t m = 1; m < methods.size(); ++m) {
    std::string copy = std::string(methods[m].name) + " / plain loop, copy";
    std::string remove = std::string(methods[m].name) + " / plain loop, delete";
    PrintSpread(copy.c_str(), Ratios(timings[m].copyMs, timings[0].copyMs), "x", 2);
    PrintSpread(remove.c_str(), Ratios(timings[m].deleteMs, timings[0].deleteMs), "x", 2);
  }
  ShellOperation(FO_DELETE, work, "");
  return 0;
}

// Path text rules of the file operations engine, in plain C++ so they can be checked and
// fuzzed on any system: splitting a path, the "Copy of " names given to a copy that would
// land on an existing file, and the folder relations that keep a folder copy from feeding
// on its own output. Both "\" and "/" count as separators; no file system is touched.
#pragma once

#include <string>

namespace copynames {

struct PathParts {
  std::string drive;      // "C:" or empty
  std::string directory;  // up to and including the last separator
  std::string name;       // file name without its extension
  std::string extension;  // from the last "." of the file name on, or empty
};

bool IsSeparator(char ch);
PathParts SplitPath(const std::string& path);

// The name a copy takes when `path` is already used: "a.txt" -> "Copy of a.txt" ->
// "Copy (1) of a.txt" -> "Copy (2) of a.txt" ... Only a leading prefix of that form is
// counted on; any other name gets "Copy of " in front.
std::string NextCopyName(const std::string& path);

// The name of the folder that holds the last component: "C:\A\X\*.*" -> "X";
// empty when there is none ("C:\*.*").
std::string LastFolderName(const std::string& path);

// `path` without separators at its end ("C:\A\" -> "C:\A", "C:\" -> "C:").
std::string WithoutTrailingSeparators(const std::string& path);

// Comparisons ignore ASCII case and treat both separators alike; callers fold other
// letters beforehand when their file system ignores their case too.
bool SamePath(const std::string& a, const std::string& b);
// True when `inner` is `outer` itself or lies anywhere below it.
bool IsSameOrInside(const std::string& outer, const std::string& inner);
// True when `destination` is the folder that holds `source`.
bool IsParentFolder(const std::string& source, const std::string& destination);

// How many sub-folder levels a copy of folder `source` into `destination` may enter: the
// difference in depth when the destination is the source or lies inside it, else -1 (no
// limit).
int NestingLimit(const std::string& source, const std::string& destination);

}  // namespace copynames

// make_shortcut <link path> <target> <working folder>
// Creates a shell link (.lnk) through the shell's own link object, the way an installer
// does; handy for making shortcuts in a Wine prefix by hand. The setup program makes its
// own shortcuts.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "framework/Handles.h"

namespace {

std::wstring Wide(const char* text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(wide.size() - 1);
  return wide;
}

HRESULT MakeLink(const char* linkPath, const char* target, const char* workingFolder, const char** step) {
  ComPtr<IShellLinkA> link;
  *step = "create the shell link object";
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(link.Receive()));
  if (FAILED(result)) return result;
  *step = "set the target";
  if (FAILED(result = link->SetPath(target))) return result;
  *step = "set the working folder";
  if (FAILED(result = link->SetWorkingDirectory(workingFolder))) return result;
  ComPtr<IPersistFile> file;
  *step = "get the link's file interface";
  if (FAILED(result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive())))) return result;
  *step = "save the link";
  return file->Save(Wide(linkPath).c_str(), TRUE);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_shortcut <link path> <target> <working folder>\n");
    return 2;
  }
  ComScope com;  // for the whole program: every ComPtr is gone before it ends
  if (FAILED(com.Result())) {
    std::fprintf(stderr, "make_shortcut: COM could not start (0x%08lX)\n", static_cast<unsigned long>(com.Result()));
    return 1;
  }
  const char* step = "";
  HRESULT result = MakeLink(argv[1], argv[2], argv[3], &step);
  if (FAILED(result)) {
    std::fprintf(stderr, "make_shortcut: could not %s for %s (0x%08lX)\n", step, argv[1],
                 static_cast<unsigned long>(result));
    return 1;
  }
  return 0;
}

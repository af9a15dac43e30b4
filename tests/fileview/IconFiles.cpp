#include "IconFiles.h"

#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <vector>

#include "framework/Handles.h"
#include "tests/support/TestKit.h"

namespace {
template <class T> void Put(std::vector<char>* bytes, T value) {
  const char* raw = reinterpret_cast<const char*>(&value);
  bytes->insert(bytes->end(), raw, raw + sizeof value);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

void WriteSolidIcon(const std::string& path, COLORREF colour) {
  const int side = 32;
  const DWORD pixels = side * side * 4, mask = side * 4;  // mask rows of 32 bits
  std::vector<char> bytes;
  Put<WORD>(&bytes, 0), Put<WORD>(&bytes, 1), Put<WORD>(&bytes, 1);  // an icon file, one image
  Put<BYTE>(&bytes, side), Put<BYTE>(&bytes, side), Put<BYTE>(&bytes, 0), Put<BYTE>(&bytes, 0);
  Put<WORD>(&bytes, 1), Put<WORD>(&bytes, 32);
  Put<DWORD>(&bytes, sizeof(BITMAPINFOHEADER) + pixels + mask), Put<DWORD>(&bytes, 6 + 16);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = side;
  header.biHeight = side * 2;  // the colours and the mask
  header.biPlanes = 1;
  header.biBitCount = 32;
  Put(&bytes, header);
  DWORD bgra = 0xFF000000u | (DWORD(GetRValue(colour)) << 16) | (DWORD(GetGValue(colour)) << 8) | GetBValue(colour);
  for (int i = 0; i < side * side; ++i) Put(&bytes, bgra);
  bytes.insert(bytes.end(), mask, '\0');  // every pixel opaque
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

bool MakeShortcut(const std::string& link, const std::string& target, const std::string& iconFile) {
  ComPtr<IShellLinkA> shortcut;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(shortcut.Receive()))))
    return false;
  shortcut->SetPath(target.c_str());
  if (!iconFile.empty()) shortcut->SetIconLocation(iconFile.c_str(), 0);
  ComPtr<IPersistFile> file;
  if (FAILED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive())))) return false;
  return SUCCEEDED(file->Save(Wide(link).c_str(), TRUE));
}

COLORREF MiddleOfImage(HIMAGELIST imageList, int index) {
  int width = 0, height = 0;
  ImageList_GetIconSize(imageList, &width, &height);
  testkit::Canvas canvas(width, height, RGB(255, 255, 255));
  ImageList_Draw(imageList, index, canvas.Dc(), 0, 0, ILD_NORMAL);
  return canvas.At(width / 2, height / 2);
}

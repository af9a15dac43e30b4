// The playlist control: a list of files, each shown by its name, that the user trims with
// Delete, reorders by dragging and fills by dropping files from the file manager; its
// container fills it from a folder and loads and saves it as a playlist file.
//
// Methods (DISPID): AddFolderFiles (1: extension, folder; the folder's own files whose
// extension matches regardless of case, in name order; returns how many), SetBackColorRgb
// (5), SetForeColorRgb (6), SetBackColorRgb2 (7: the background of every second row; each
// takes red, green, blue), ClearList (8), SaveList (15: one full path a line, CR LF;
// returns whether it worked, and an old file is replaced only by a complete new one),
// LoadList (16: replaces the list with a playlist file's entries; the empty path asks the
// user for the file, starting in C:\tyb; returns whether a list was loaded; lines that can
// name no file, such as those holding a NUL, are left out).
// Paths are kept, saved and handed out in the ANSI code page, or in UTF-8 where the code page
// cannot hold a name; LoadList reads lists in the code page, in UTF-8 with or without a mark,
// or in UTF-16.
// Dropped files and the files of dropped folders are added when their extension is the
// one AddFolderFiles was last given (".mp3" until then).
// Stored state: "back", "fore", "back2" (colours, 0x00BBGGRR).
#pragma once

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "ocx/HostedControl.h"
#include "ocx/playlist/PlaylistContract.h"

class CPlaylistControl : public CHostedControl {
 public:
  const MethodMap& GetMethodMap() const override;
  const MessageMap* GetMessageMap() const override;

  short AddFolderFiles(const CString& extension, const CString& folder);
  void SetBackColorRgb(short red, short green, short blue);
  void SetForeColorRgb(short red, short green, short blue);
  void SetBackColorRgb2(short red, short green, short blue);
  void ClearList();
  bool SaveList(const CString& path);
  bool LoadList(const CString& path);

  // The full paths in the list, top to bottom.
  const std::vector<std::string>& Entries() const { return m_entries; }
  HWND List() const { return m_list; }
  COLORREF RowColour(int row) const { return row % 2 ? m_back2 : m_back; }
  COLORREF TextColour() const { return m_fore; }

 protected:
  void OnCreateControl() override;

 private:
  void OnSize(UINT type, int width, int height);
  void OnSetFocus();
  BOOL OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item);
  BOOL OnDrawItem(UINT id, const DRAWITEMSTRUCT* item);
  LRESULT OnControlColour();
  int OnKeyToItem(UINT key, int caret, HWND list);
  LRESULT OnDrag(WPARAM, LPARAM);
  void OnDropFiles(HDROP drop);
  void SetColour(COLORREF* colour, short red, short green, short blue);
  HFONT ListFont() const;
  void Append(std::vector<std::string> paths);
  void ShowCount();
  int AddFilesOf(const std::string& folder, const std::string& extension);
  void MoveItem(int from, int to);
  std::string AskForPlaylist() const;

  std::vector<std::string> m_entries;  // what the list shows, top to bottom
  HWND m_list = nullptr;
  BrushHandle m_backBrush;
  COLORREF m_back = RGB(255, 255, 255), m_fore = RGB(0, 0, 0), m_back2 = RGB(255, 255, 255);
  bool m_back2Set = false;  // until then the second background follows the first
  std::string m_extension = ".mp3";
  int m_dragging = -1;
};

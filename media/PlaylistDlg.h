// CPlaylistDlg: the playlist editor. The user gathers MP3 files from a folder (typed or
// browsed) into the playlist control, and Save writes them to the playlist file the bar's
// playlist button plays. The list lives in the control; closing the editor forgets it.
#pragma once

#include "framework/DHtmlDialog.h"
#include "framework/Edit.h"
#include "hosted/Playlistctrl1.h"

class CPlaylistDlg : public CDHtmlDialog {
 public:
  explicit CPlaylistDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  const EventSinkMap* GetEventSinkMap() const override;

  void OnSearch();
  void OnBrowse();
  void OnClear();
  void OnLoad();
  void OnSave();
  void OnCloseEditor();

  CPlaylistctrl1 m_playlist;
  CEdit m_folderEdit;

 private:
  // Puts the folder the user picks in the shell's browser in the folder field; false when
  // the user picks none.
  bool ChooseFolder();
};

#include "ocx/HostedControls.h"

#include "ocx/captionbutton/CaptionButton.h"
#include "ocx/fileview/FileViewControl.h"
#include "ocx/monitor/MonitorControl.h"
#include "ocx/mp3/Mp3Contract.h"
#include "ocx/mp3/Mp3Control.h"
#include "ocx/playlist/PlaylistContract.h"
#include "ocx/playlist/PlaylistControl.h"

void RegisterHostedControls() {
  static bool done = false;
  if (done) return;
  done = true;
  CCaptionButton::Register();
  CMonitorControl::Register();
  CFileViewControl::Register();
  CHostedControl::RegisterControlClass<CMp3Control>(CLSID_CLASS_MP3);
  CHostedControl::RegisterControlClass<CPlaylistControl>(CLSID_CLASS_PLAYLIST);
}

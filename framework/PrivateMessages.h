// The program's own window messages. Each is above WM_APP and is posted by a window to
// itself, so the numbers need only differ from one another.
#pragma once

#include <windows.h>

enum PrivateMessage : UINT {
  kDeliverEventsMessage = WM_APP + 1,  // the MP3 control: raise the events its player queued
  kFirstShownMessage,                  // the file view: its first screen is drawn
  kLaterErrorMessage,                  // the file view: tell the user of a failure met while busy
  kDestroyEndedMessage,                // a dialog that goes with its window: destroy it now it has ended
  kLaterNoteReportMessage,             // the note: tell the user of a save that failed
  kTakeDropsMessage,                   // the file view: its first screen is painted, take drops
};

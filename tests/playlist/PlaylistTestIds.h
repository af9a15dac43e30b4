// The ids of the playlist control tests' dialog (playlist_tests.rc).
#pragma once

#define IDD_PLAYLIST_HOST 970
#define IDC_PLAIN_PLAYLIST 1063     // default colours
#define IDC_COLOURED_PLAYLIST 1064  // colours from its stored state

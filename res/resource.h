// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME 128
#define IDB_BAR_BACKGROUND 134
#define IDD_MAIN_BAR 102

// Controls of the Main bar.
#define IDC_CPU_MONITOR 1001
#define IDC_MEMORY_MONITOR 1003
#define IDC_SEEK_SLIDER 1017
#define IDC_MP3 1021
#define IDC_VOLUME_SLIDER 1022
#define IDC_TIME_DISPLAY 1031
#define IDC_CLOCK 1033
#define IDC_OPEN 1034
#define IDC_PLAY 1035
#define IDC_PAUSE 1036
#define IDC_STOP 1037
#define IDC_OPTIONS 1038
#define IDC_HELP_BUTTON 1039
#define IDC_CLOSE_BAR 1040
#define IDC_PHOTOS 1041
#define IDC_SYSTEM 1042
#define IDC_INTERNET 1043
#define IDC_PROGRAM 1044
#define IDC_AUDIO 1045
#define IDC_OFFICE 1046
#define IDC_VIDEO 1047
#define IDC_GRAPHIC 1048
#define IDC_CALENDAR 1050
#define IDC_NOTE 1057
#define IDC_PLAYLIST 1064
#define IDC_PLAY_PLAYLIST 1065
#define IDC_SKIP 1066

// Window classes of the hosted controls: their CLSIDs in braces (CLSID_CLASS_...).
#include "ocx/captionbutton/CaptionButtonContract.h"
#include "ocx/fileview/FileViewContract.h"
#include "ocx/monitor/MonitorContract.h"
#include "ocx/mp3/Mp3Contract.h"
#include "ocx/playlist/PlaylistContract.h"

// Pages of the windows (resource type 23), made from res/pages/page.html.
#define IDR_PAGE_AUDIO 103
#define IDR_PAGE_VIDEO 104
#define IDR_PAGE_OFFICE 105
#define IDR_PAGE_INTERNET 106
#define IDR_PAGE_GRAPHIC 107
#define IDR_PAGE_PROGRAM 108
#define IDR_PAGE_SYSTEM 110
#define IDR_PAGE_PHOTO 111
#define IDR_PAGE_OPTIONS 112
#define IDR_PAGE_HELP 113
#define IDR_PAGE_NOTE 120
#define IDR_PAGE_PLAYLIST 121

// Selector windows (one per category) and their file views. The category buttons, templates
// and pages must agree with the table in selectors/Categories.h; the build checks them.
#define IDD_SELECTOR_VIDEO 152
#define IDD_SELECTOR_AUDIO 129
#define IDD_SELECTOR_OFFICE 154
#define IDD_SELECTOR_INTERNET 156
#define IDD_SELECTOR_GRAPHIC 158
#define IDD_SELECTOR_PROGRAM 160
#define IDD_SELECTOR_SYSTEM 162
#define IDD_SELECTOR_PHOTO 164
#define IDC_SELECTOR_VIEW 1002
#define IDC_PROGRAM_VIEW 1023

// The note window and the help window.
#define IDD_HELP 169
#define IDD_NOTE 175
#define IDR_HELP_TEXT 182
#define IDC_NOTE_TEXT 1031
#define IDC_NOTE_CLOSE 1034
#define IDC_NOTE_SAVE_CLOSE 1035
#define IDC_HELP_CLOSE 1034
#define IDC_HELP_TEXT 1059

// The options window.
#define IDD_OPTIONS 167
#define IDC_OPTIONS_VIEW 1002
#define IDC_OPTIONS_BACK 1034
#define IDC_OPTIONS_CLOSE 1035
#define IDC_OPTIONS_ABOUT 1036
#define IDC_LOAD_STARTUP 1025
#define IDC_LOAD_BOTTOM 1027
#define IDC_HIDE_CPU 1029
#define IDC_HIDE_MP3 1030
#define IDC_SELTIME 1031
// The playlist editor.
#define IDD_PLAYLIST 183
#define IDC_PLAYLIST_LIST 1063
#define IDC_PLAYLIST_FOLDER 1031
#define IDC_PLAYLIST_BROWSE 1040
#define IDC_PLAYLIST_SEARCH 1034
#define IDC_PLAYLIST_CLEAR 1037
#define IDC_PLAYLIST_LOAD 1038
#define IDC_PLAYLIST_SAVE 1039
#define IDC_PLAYLIST_CLOSE 1035

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The id of the MP3 control tests' host dialog (mp3_tests.rc); the control is IDC_MP3.
#pragma once

#define IDD_MP3_HOST 960

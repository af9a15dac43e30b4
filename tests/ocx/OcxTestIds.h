// The ids of the hosted-control tests' dialogs and controls (ocx_tests.rc).
#pragma once

#define IDD_COUNTER_HOST 950
#define IDC_COUNTER_STORED 951  // a counter with stored state
#define IDC_COUNTER_PLAIN 952   // a counter without
#define IDC_COUNTER_MADE 953    // made by the test at run time

#define IDD_CONTROL_PANEL 960
#define IDC_PLAY_CAPTION 961    // Arial, stored colours
#define IDC_ARROW_CAPTION 962   // a Wingdings 3 arrow
#define IDC_PLAIN_CAPTION 963   // garbled stored state
#define IDC_CPU_METER 964
#define IDC_MEMORY_METER 965
#define IDC_GARBLED_METER 966

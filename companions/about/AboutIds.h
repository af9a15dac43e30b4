#pragma once
#define IDD_ABOUT 100
#define IDC_ABOUT_NAME 101
#define IDC_ABOUT_VERSION 102
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The program's entry point and its application object.
#include <windows.h>

#include "app/TidybarApp.h"

CTidybarApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }

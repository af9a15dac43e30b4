// The window classes of the hosted controls, named by their CLSIDs so that dialog
// templates can name them.
#pragma once

// Registers every hosted control's window class (once per process).
void RegisterHostedControls();

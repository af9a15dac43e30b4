// What the program tells a debugger, and nothing else: the steps of its start-up with their
// times. Written with OutputDebugStringA, so a debugger, DebugView or Wine's
// WINEDEBUG=+debugstr shows it; there is no log file.
#pragma once

namespace trace {
// "tidybar start-up: <ms since the process was created> ms <step>"
void StartupStep(const char* step);
// "tidybar <topic>: <ms since the process was created> ms <step>", for other timelines
// (the click that opens a category window: topic "click").
void Step(const char* topic, const char* step);
}  // namespace trace

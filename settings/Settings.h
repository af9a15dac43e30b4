// Where the program keeps its settings, and what each one stands for when it is absent.
// The bar reads them once at start; the options window reads and writes them.
//
// Every value is a 32-bit integer stored as REG_DWORD; a flag is on only when it is exactly 1.
#pragma once

#include "settings/RegistryStore.h"

namespace settings {

// HKEY_CURRENT_USER\Software\Farrowind\tyb\Settings: the user's settings.
constexpr char kCompany[] = "Farrowind";
// HKEY_CURRENT_USER\Software\Glade Inc.\tyb\Settings: the marker that Close writes.
constexpr char kMarkerCompany[] = "Glade Inc.";
constexpr char kApplication[] = "tyb";
constexpr char kSection[] = "Settings/";

// Value names.
constexpr char kLoadStartup[] = "loadstartup";
constexpr char kLoadBottom[] = "loadbottom";
constexpr char kHideMemory[] = "hidememory";
constexpr char kHideCpu[] = "hidecpu";
constexpr char kHideMp3[] = "hidemp3";
constexpr char kSelTime[] = "seltime";
constexpr char kRunOnce[] = "ronce";

// What an absent value stands for. Flags are off; an absent loadstartup leaves the Startup
// folder alone (it is neither 0 nor 1); a selector window stays 10 seconds.
constexpr int kAbsentFlag = 0;
constexpr int kAbsentLoadStartup = -1;
constexpr int kAbsentSelTime = 10;

inline bool IsOn(int value) { return value == 1; }

// A store on the user's settings key (flush flag 0).
inline void OpenUserSettings(CRegistryStore& store) {
  store.SetCompany(kCompany);
  store.SetApplication(kApplication);
}

// A store on the marker's key.
inline void OpenMarker(CRegistryStore& store) {
  store.SetCompany(kMarkerCompany);
  store.SetApplication(kApplication);
}

// The value `name` of the settings section, or `absent` when it cannot be read.
inline int Read(CRegistryStore& store, const char* name, int absent) {
  int value = absent;
  store.Read(kSection, name, value);
  return value;
}

inline BOOL Write(CRegistryStore& store, const char* name, int value) { return store.Write(kSection, name, value); }

}  // namespace settings

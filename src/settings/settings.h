// The program's three settings, and their file suspend.ini in the current
// working directory.
#ifndef SOMNIVO_SETTINGS_SETTINGS_H
#define SOMNIVO_SETTINGS_SETTINGS_H

#include "settings/text.h"

struct SettingsRecord {
    Text suspendPath;
    Text resumePath;
    bool startMinimized;
};

// The one record of the process: empty, empty, false until LoadSettings.
extern SettingsRecord Settings;

#define SETTINGS_FILE_NAME "suspend.ini"

// Fills Settings from suspend.ini. A missing or unreadable file leaves it as
// it was; nothing is reported.
void LoadSettings();

// Replaces suspend.ini with Settings. The former file survives any failure,
// which is shown to the user in a message box.
void SaveSettings();

#endif

// The byte format of suspend.ini, apart from any file: the same bytes are
// accepted and written on every platform.
#ifndef SOMNIVO_SETTINGS_SETTINGS_FORMAT_H
#define SOMNIVO_SETTINGS_SETTINGS_FORMAT_H

#include "settings/settings.h"

#include <stddef.h>

// Applies every recognised line of the file's content to the record; the last
// line with a key wins, and fields whose key is absent keep their value.
void ApplySettingsFile(SettingsRecord *settings, const char *bytes, size_t length);

// The file's content for the record: three lines ending in CR LF. False when
// no memory could be had.
bool FormatSettingsFile(const SettingsRecord *settings, Text *content);

#endif

// Setting and reading the process-wide Settings record in tests.
#ifndef SOMNIVO_TESTS_SETTINGS_TEST_SUPPORT_H
#define SOMNIVO_TESTS_SETTINGS_TEST_SUPPORT_H

#include "settings/settings.h"

#include <ostream>
#include <string>

struct SettingsValues {
    std::string suspendPath;
    std::string resumePath;
    bool startMinimized;

    bool operator==(const SettingsValues &other) const {
        return suspendPath == other.suspendPath && resumePath == other.resumePath &&
               startMinimized == other.startMinimized;
    }
};

inline void SetSettings(const SettingsValues &values) {
    SetText(&Settings.suspendPath, values.suspendPath.data(), values.suspendPath.size());
    SetText(&Settings.resumePath, values.resumePath.data(), values.resumePath.size());
    Settings.startMinimized = values.startMinimized;
}

inline SettingsValues CurrentSettings() {
    return {std::string(TextAsString(&Settings.suspendPath), Settings.suspendPath.length),
            std::string(TextAsString(&Settings.resumePath), Settings.resumePath.length),
            Settings.startMinimized};
}

inline std::ostream &operator<<(std::ostream &out, const SettingsValues &values) {
    return out << "{suspend \"" << values.suspendPath << "\", resume \"" << values.resumePath
               << "\", minimized " << values.startMinimized << "}";
}

#endif

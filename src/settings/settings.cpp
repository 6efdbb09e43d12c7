#include "settings/settings.h"

#include "settings/settings_format.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

SettingsRecord Settings = {{nullptr, 0}, {nullptr, 0}, false};

namespace {

void ReleaseSettings() {
    FreeText(&Settings.suspendPath);
    FreeText(&Settings.resumePath);
}

// The texts live until the process ends, after WinMain has returned.
const int releaseAtExit = atexit(ReleaseSettings);

// The whole file, or as much of it as could be read before an error.
bool ReadWholeFile(FILE *file, Text *content) {
    size_t capacity = 4096;
    char *bytes = static_cast<char *>(malloc(capacity));
    size_t length = 0;
    while (bytes) {
        length += fread(bytes + length, 1, capacity - length, file);
        if (length < capacity)
            break;
        capacity *= 2;
        char *larger = static_cast<char *>(realloc(bytes, capacity));
        if (!larger)
            break;
        bytes = larger;
    }
    bool read = bytes && SetText(content, bytes, length);
    free(bytes);
    return read;
}

bool WriteWholeFile(const char *name, const Text *content) {
    FILE *file = fopen(name, "wb");
    if (!file)
        return false;
    bool written = fwrite(content->bytes, 1, content->length, file) == content->length;
    written = fflush(file) == 0 && written;
    written = fclose(file) == 0 && written;
    if (!written)
        remove(name);
    return written;
}

// Beside suspend.ini, so the replacing is a rename within one directory;
// named by process, since two instances may save at the same moment. Built
// by hand: the C runtime's formatted printing would triple the program.
void TemporaryFileName(char *name) {
    const char prefix[] = SETTINGS_FILE_NAME ".";
    const char suffix[] = ".tmp";
    char digits[16];
    int count = 0;
    unsigned long id = GetCurrentProcessId();
    do {
        digits[count++] = static_cast<char>('0' + id % 10);
        id /= 10;
    } while (id);
    memcpy(name, prefix, sizeof prefix - 1);
    name += sizeof prefix - 1;
    while (count)
        *name++ = digits[--count];
    memcpy(name, suffix, sizeof suffix);
}

} // namespace

void LoadSettings() {
    (void)releaseAtExit;
    FILE *file = fopen(SETTINGS_FILE_NAME, "rb");
    if (!file)
        return;
    Text content = {nullptr, 0};
    if (ReadWholeFile(file, &content))
        ApplySettingsFile(&Settings, content.bytes, content.length);
    fclose(file);
    FreeText(&content);
}

// Never truncates suspend.ini in place: the new content goes to a temporary
// file first, which then replaces the old one in a single step, so a full
// disk or a crash can cost the latest edits but never the settings.
void SaveSettings() {
    char temporaryName[64];
    TemporaryFileName(temporaryName);

    Text content = {nullptr, 0};
    bool saved = FormatSettingsFile(&Settings, &content) && WriteWholeFile(temporaryName, &content);
    if (saved) {
        saved = MoveFileExA(temporaryName, SETTINGS_FILE_NAME,
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (!saved)
            remove(temporaryName);
    }
    FreeText(&content);

    if (!saved)
        MessageBoxA(nullptr, "Error opening suspend.ini for writting.", "Error",
                    MB_OK | MB_ICONERROR);
}

#include "settings/settings_format.h"

#include <string.h>

namespace {

const char SUSPEND_KEY[] = "Suspend=";
const char RESUME_KEY[] = "Resume=";
const char MINIMIZE_KEY[] = "Minimize=";
const char LINE_END[] = "\r\n";

// Ctrl-Z ended text files under DOS, and the C runtime's text mode still
// stops reading there; the file is read as that mode would.
const char END_OF_TEXT = 0x1A;

bool StartsWith(const char *line, size_t length, const char *key, size_t keyLength) {
    return length >= keyLength && memcmp(line, key, keyLength) == 0;
}

// "YES" in any case, followed by anything.
bool MeansYes(const char *value, size_t length) {
    if (length < 3)
        return false;
    for (size_t i = 0; i < 3; ++i) {
        char c = value[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 0x20);
        if (c != "YES"[i])
            return false;
    }
    return true;
}

void ApplyLine(SettingsRecord *settings, const char *line, size_t length) {
    const size_t suspendKey = sizeof SUSPEND_KEY - 1;
    const size_t resumeKey = sizeof RESUME_KEY - 1;
    const size_t minimizeKey = sizeof MINIMIZE_KEY - 1;
    if (StartsWith(line, length, SUSPEND_KEY, suspendKey))
        SetText(&settings->suspendPath, line + suspendKey, length - suspendKey);
    else if (StartsWith(line, length, RESUME_KEY, resumeKey))
        SetText(&settings->resumePath, line + resumeKey, length - resumeKey);
    else if (StartsWith(line, length, MINIMIZE_KEY, minimizeKey))
        settings->startMinimized = MeansYes(line + minimizeKey, length - minimizeKey);
}

void Append(char **cursor, const char *bytes, size_t length) {
    memcpy(*cursor, bytes, length);
    *cursor += length;
}

} // namespace

void ApplySettingsFile(SettingsRecord *settings, const char *bytes, size_t length) {
    if (length == 0)
        return;
    const void *end = memchr(bytes, END_OF_TEXT, length);
    if (end)
        length = static_cast<size_t>(static_cast<const char *>(end) - bytes);

    size_t lineStart = 0;
    while (lineStart < length) {
        const void *newline = memchr(bytes + lineStart, '\n', length - lineStart);
        size_t lineEnd =
            newline ? static_cast<size_t>(static_cast<const char *>(newline) - bytes) : length;
        size_t next = newline ? lineEnd + 1 : length;
        // A CR counts as part of the line end only right before an LF.
        if (newline && lineEnd > lineStart && bytes[lineEnd - 1] == '\r')
            --lineEnd;
        ApplyLine(settings, bytes + lineStart, lineEnd - lineStart);
        lineStart = next;
    }
}

bool FormatSettingsFile(const SettingsRecord *settings, Text *content) {
    const char *suspendPath = TextAsString(&settings->suspendPath);
    const char *resumePath = TextAsString(&settings->resumePath);
    const char *minimize = settings->startMinimized ? "Minimize=YES" : "Minimize=NO";
    const size_t suspendLength = strlen(suspendPath);
    const size_t resumeLength = strlen(resumePath);
    const size_t minimizeLength = strlen(minimize);
    const size_t lineEnd = sizeof LINE_END - 1;

    const size_t length = (sizeof SUSPEND_KEY - 1) + suspendLength + lineEnd +
                          (sizeof RESUME_KEY - 1) + resumeLength + lineEnd + minimizeLength +
                          lineEnd;
    if (!AllocateText(content, length))
        return false;
    char *cursor = content->bytes;
    Append(&cursor, SUSPEND_KEY, sizeof SUSPEND_KEY - 1);
    Append(&cursor, suspendPath, suspendLength);
    Append(&cursor, LINE_END, lineEnd);
    Append(&cursor, RESUME_KEY, sizeof RESUME_KEY - 1);
    Append(&cursor, resumePath, resumeLength);
    Append(&cursor, LINE_END, lineEnd);
    Append(&cursor, minimize, minimizeLength);
    Append(&cursor, LINE_END, lineEnd);
    return true;
}

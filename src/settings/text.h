// A text as the program keeps it: 8-bit bytes in the ANSI code page that know
// their own length and may hold NUL bytes. Where a text goes to the platform
// or into a file it is taken up to its first NUL.
#ifndef SOMNIVO_SETTINGS_TEXT_H
#define SOMNIVO_SETTINGS_TEXT_H

#include <stddef.h>

struct Text {
    char *bytes; // followed by one NUL byte of its own; null until first set
    size_t length;
};

// Replaces the text with a copy of the bytes. On a failed allocation the text
// keeps its former value and the result is false.
bool SetText(Text *text, const char *bytes, size_t length);

// Replaces the text with `length` zero bytes, to be filled in place.
bool AllocateText(Text *text, size_t length);

void FreeText(Text *text);

// The text as a NUL-terminated string: cut at its first NUL, "" when empty.
const char *TextAsString(const Text *text);

#endif

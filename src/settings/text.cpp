#include "settings/text.h"

#include <stdlib.h>
#include <string.h>

bool AllocateText(Text *text, size_t length) {
    char *bytes = static_cast<char *>(calloc(length + 1, 1));
    if (!bytes)
        return false;
    free(text->bytes);
    text->bytes = bytes;
    text->length = length;
    return true;
}

bool SetText(Text *text, const char *bytes, size_t length) {
    Text copy = {nullptr, 0};
    if (!AllocateText(&copy, length))
        return false;
    if (length)
        memcpy(copy.bytes, bytes, length);
    FreeText(text);
    *text = copy;
    return true;
}

void FreeText(Text *text) {
    free(text->bytes);
    text->bytes = nullptr;
    text->length = 0;
}

const char *TextAsString(const Text *text) {
    return text->bytes ? text->bytes : "";
}

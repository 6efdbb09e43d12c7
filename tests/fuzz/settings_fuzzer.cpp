// libFuzzer target for the suspend.ini reader and writer. The input is read
// as a file's content and compared with a model of the line rules written
// from the documented behaviour; the same bytes also make a record, which is
// written and read back. A broken property aborts, so libFuzzer keeps the
// input as a crash.
#include "settings/settings_format.h"
#include "settings/text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

struct Values {
    std::string suspendPath;
    std::string resumePath;
    bool startMinimized;

    bool operator==(const Values &other) const {
        return suspendPath == other.suspendPath && resumePath == other.resumePath &&
               startMinimized == other.startMinimized;
    }
};

void Require(bool holds, const char *property) {
    if (holds)
        return;
    fprintf(stderr, "settings_fuzzer: property broken: %s\n", property);
    abort();
}

// Whatever a Text holds, it must still be a valid one: null and empty, or
// followed by its own NUL.
std::string TextBytes(const Text &text) {
    if (!text.bytes) {
        Require(text.length == 0, "a text without bytes has length 0");
        return std::string();
    }
    Require(text.bytes[text.length] == '\0', "a text's bytes are followed by a NUL");
    return std::string(text.bytes, text.length);
}

Values ValuesOf(const SettingsRecord &record) {
    return {TextBytes(record.suspendPath), TextBytes(record.resumePath), record.startMinimized};
}

void SetValues(SettingsRecord *record, const Values &values) {
    Require(SetText(&record->suspendPath, values.suspendPath.data(), values.suspendPath.size()),
            "SetText allocates");
    Require(SetText(&record->resumePath, values.resumePath.data(), values.resumePath.size()),
            "SetText allocates");
    record->startMinimized = values.startMinimized;
}

void FreeRecord(SettingsRecord *record) {
    FreeText(&record->suspendPath);
    FreeText(&record->resumePath);
}

bool HasPrefix(const std::string &line, const char *key) {
    return line.compare(0, std::string(key).size(), key) == 0;
}

// The reader's rules, kept apart from its code: the input ends at the first
// Ctrl-Z; lines end at LF, and a CR right before that LF belongs to the line
// end; a line starting with a key sets that field, the last one winning;
// Minimize is on when its value starts with "yes" in any ASCII case.
Values ModelRead(Values values, const std::string &file) {
    std::string content = file.substr(0, file.find('\x1A'));
    std::string line;
    for (size_t i = 0; i <= content.size(); ++i) {
        bool atLineFeed = i < content.size() && content[i] == '\n';
        if (i < content.size() && !atLineFeed) {
            line += content[i];
            continue;
        }
        if (atLineFeed && !line.empty() && line.back() == '\r')
            line.pop_back();
        if (HasPrefix(line, "Suspend=")) {
            values.suspendPath = line.substr(8);
        } else if (HasPrefix(line, "Resume=")) {
            values.resumePath = line.substr(7);
        } else if (HasPrefix(line, "Minimize=")) {
            std::string start = line.substr(9, 3);
            for (char &c : start)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + ('a' - 'A'));
            values.startMinimized = start == "yes";
        }
        line.clear();
    }
    return values;
}

// A written path stops at its first NUL.
std::string AsWritten(const std::string &path) {
    return path.substr(0, path.find('\0'));
}

bool ReadsBack(const std::string &path) {
    return path.find_first_of(std::string("\n\x1A", 2)) == std::string::npos;
}

// Reads the file over a record holding `before`, or, without it, over a
// record as the program starts with: texts never set. The reader is given a
// buffer of exactly the file's size: a std::string's own terminator and spare
// capacity would hide a read past the end from AddressSanitizer.
Values Read(const Values *before, const std::string &file) {
    char *exact = static_cast<char *>(malloc(file.size()));
    Require(exact || file.empty(), "malloc succeeds");
    if (!file.empty())
        memcpy(exact, file.data(), file.size());
    SettingsRecord record = {{nullptr, 0}, {nullptr, 0}, false};
    if (before)
        SetValues(&record, *before);
    ApplySettingsFile(&record, exact, file.size());
    Values after = ValuesOf(record);
    FreeRecord(&record);
    free(exact);
    return after;
}

const Values FRESH = {"", "", false};

// Into a fresh record, so that nothing read back can come from before.
Values WriteAndReadBack(const Values &values, const std::string &formerContent) {
    SettingsRecord record = {{nullptr, 0}, {nullptr, 0}, false};
    SetValues(&record, values);
    // The writer replaces whatever the output text held; a leak of the former
    // bytes is LeakSanitizer's to report.
    Text content = {nullptr, 0};
    Require(SetText(&content, formerContent.data(), formerContent.size()), "SetText allocates");
    Require(FormatSettingsFile(&record, &content), "FormatSettingsFile allocates");
    std::string written = TextBytes(content);
    FreeText(&content);
    FreeRecord(&record);

    std::string expected = "Suspend=" + AsWritten(values.suspendPath) +
                           "\r\nResume=" + AsWritten(values.resumePath) +
                           "\r\nMinimize=" + (values.startMinimized ? "YES" : "NO") + "\r\n";
    Require(written == expected, "the file is the three lines of the record");

    Values readBack = Read(nullptr, written);
    Require(readBack == ModelRead(FRESH, written), "reading the written file follows the rules");
    if (ReadsBack(values.suspendPath) && ReadsBack(values.resumePath)) {
        Values cut = {AsWritten(values.suspendPath), AsWritten(values.resumePath),
                      values.startMinimized};
        Require(readBack == cut, "a record without LF or Ctrl-Z reads back as written");
    }
    return readBack;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string file(reinterpret_cast<const char *>(data), size);

    // The record the file is read into, and which is written: two paths and a
    // flag taken from the same bytes.
    FuzzedDataProvider provider(data, size);
    Values record;
    record.startMinimized = provider.ConsumeBool();
    record.suspendPath = provider.ConsumeRandomLengthString();
    record.resumePath = provider.ConsumeRemainingBytesAsString();

    Values read = Read(nullptr, file);
    Require(read == ModelRead(FRESH, file), "a file read into a fresh record follows the rules");
    Require(Read(&record, file) == ModelRead(record, file),
            "a file read over a record follows the rules and keeps absent fields");
    Require(ReadsBack(read.suspendPath) && ReadsBack(read.resumePath),
            "no value read holds LF or Ctrl-Z");

    // What was read from any file is written back as it was read, NULs aside.
    Values again = WriteAndReadBack(read, file);
    Require(again.suspendPath == AsWritten(read.suspendPath) &&
                again.resumePath == AsWritten(read.resumePath) &&
                again.startMinimized == read.startMinimized,
            "a record read from a file writes and reads back");

    WriteAndReadBack(record, std::string());
    return 0;
}

#include "power_arguments.h"

#include <cstring>

namespace {

struct Verb {
    const char *word;
    PowerEvents events;
};

// cycle follows what Windows sends around one sleep: the query, the suspend,
// the automatic resume that comes with every wake, then the one that says a
// user is there.
const Verb verbs[] = {
    {"query", {{0}, 1}},        {"suspend", {{4}, 1}},         {"resume", {{7}, 1}},
    {"resume-auto", {{18}, 1}}, {"cycle", {{0, 4, 18, 7}, 4}},
};

struct EventName {
    std::uint32_t code;
    const char *name;
};

const EventName event_names[] = {
    {0, "PBT_APMQUERYSUSPEND"},     {2, "PBT_APMQUERYSUSPENDFAILED"},
    {4, "PBT_APMSUSPEND"},          {6, "PBT_APMRESUMECRITICAL"},
    {7, "PBT_APMRESUMESUSPEND"},    {10, "PBT_APMPOWERSTATUSCHANGE"},
    {18, "PBT_APMRESUMEAUTOMATIC"}, {0x8013, "PBT_POWERSETTINGCHANGE"},
};

// Digits only: a sign, a blank or a trailing letter is more likely a typo than
// a code, and strtoul would quietly accept or wrap them.
bool read_code(const char *text, std::uint32_t &code) {
    if (*text == '\0')
        return false;
    std::uint64_t value = 0;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(*text - '0');
        if (value > UINT32_MAX)
            return false;
    }
    code = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

const char power_usage[] =
    "usage: powersim query|suspend|resume|resume-auto|cycle|CODE\n"
    "Sends a power event to every running Somnivo settings window and shows each answer,\n"
    "so you can try your suspend and resume commands without putting the machine to sleep.\n"
    "\n"
    "  query        PBT_APMQUERYSUSPEND (0)\n"
    "  suspend      PBT_APMSUSPEND (4)\n"
    "  resume       PBT_APMRESUMESUSPEND (7)\n"
    "  resume-auto  PBT_APMRESUMEAUTOMATIC (18)\n"
    "  cycle        0, 4, 18 and 7, as Windows sends them around one sleep\n"
    "  CODE         any decimal code from 0 to 4294967295\n"
    "\n"
    "Words are lower case only.\n";

PowerRequest read_power_arguments(int argc, const char *const argv[], PowerEvents &events) {
    if (argc != 2)
        return PowerRequest::invalid;
    const char *argument = argv[1];
    if (std::strcmp(argument, "--help") == 0)
        return PowerRequest::help;
    for (const Verb &verb : verbs) {
        if (std::strcmp(argument, verb.word) == 0) {
            events = verb.events;
            return PowerRequest::send;
        }
    }
    std::uint32_t code;
    if (!read_code(argument, code))
        return PowerRequest::invalid;
    events.codes[0] = code;
    events.count = 1;
    return PowerRequest::send;
}

const char *power_event_name(std::uint32_t code) {
    for (const EventName &entry : event_names) {
        if (entry.code == code)
            return entry.name;
    }
    return "unknown";
}

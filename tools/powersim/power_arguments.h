// powersim's command line: which WM_POWERBROADCAST codes to send, and their names.
// Free of Win32 so the host build can test it.
#ifndef SOMNIVO_POWERSIM_POWER_ARGUMENTS_H
#define SOMNIVO_POWERSIM_POWER_ARGUMENTS_H

#include <cstddef>
#include <cstdint>

// cycle is the longest list a command line can ask for.
constexpr std::size_t max_power_events = 4;

struct PowerEvents {
    std::uint32_t codes[max_power_events];
    std::size_t count;
};

enum class PowerRequest { send, help, invalid };

// argv[0] is the program; on send, events holds the codes in the order to send them.
PowerRequest read_power_arguments(int argc, const char *const argv[], PowerEvents &events);

// The platform's name for a power event code, or "unknown".
const char *power_event_name(std::uint32_t code);

extern const char power_usage[];

#endif

#include "power_arguments.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

PowerRequest read(std::vector<const char *> arguments, PowerEvents &events) {
    arguments.insert(arguments.begin(), "powersim");
    return read_power_arguments(static_cast<int>(arguments.size()), arguments.data(), events);
}

TEST(PowerArguments, SendsTheCodesAskedForInOrder) {
    struct Case {
        const char *argument;
        std::vector<std::uint32_t> codes;
    };
    const Case cases[] = {
        {"query", {0}},
        {"suspend", {4}},
        {"resume", {7}},
        {"resume-auto", {18}},
        {"cycle", {0, 4, 18, 7}},
        {"0", {0}},
        {"4", {4}},
        {"32787", {32787}},
        {"007", {7}},
        {"4294967295", {4294967295u}},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.argument);
        PowerEvents events = {};
        ASSERT_EQ(read({test.argument}, events), PowerRequest::send);
        EXPECT_EQ(std::vector<std::uint32_t>(events.codes, events.codes + events.count),
                  test.codes);
    }
}

TEST(PowerArguments, RejectsWhatIsNeitherAWordNorACode) {
    const std::vector<const char *> cases[] = {
        {},
        {"query", "suspend"},
        {"--help", "query"},
        {""},
        {"-1"},
        {"+4"},
        {" 4"},
        {"4 "},
        {"4x"},
        {"0x8013"},
        {"4294967296"},
        {"99999999999999999999"},
        {"sleep"},
        {"Query"},
        {"CYCLE"},
        {"-help"},
    };
    for (const std::vector<const char *> &arguments : cases) {
        SCOPED_TRACE(arguments.empty() ? "(none)" : arguments[0]);
        PowerEvents events = {};
        EXPECT_EQ(read(arguments, events), PowerRequest::invalid);
    }
}

TEST(PowerArguments, HelpAsksForTheUsage) {
    PowerEvents events = {};
    EXPECT_EQ(read({"--help"}, events), PowerRequest::help);
}

TEST(PowerArguments, NamesTheCodesOfThePlatform) {
    struct Case {
        std::uint32_t code;
        const char *name;
    };
    const Case cases[] = {
        {0, "PBT_APMQUERYSUSPEND"},
        {2, "PBT_APMQUERYSUSPENDFAILED"},
        {4, "PBT_APMSUSPEND"},
        {6, "PBT_APMRESUMECRITICAL"},
        {7, "PBT_APMRESUMESUSPEND"},
        {10, "PBT_APMPOWERSTATUSCHANGE"},
        {18, "PBT_APMRESUMEAUTOMATIC"},
        {0x8013, "PBT_POWERSETTINGCHANGE"},
        {1, "unknown"},
        {5, "unknown"},
        {0x8012, "unknown"},
        {4294967295u, "unknown"},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.code);
        EXPECT_STREQ(power_event_name(test.code), test.name);
    }
}

} // namespace

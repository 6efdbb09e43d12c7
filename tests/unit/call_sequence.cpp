#include "call_sequence.h"

#include <algorithm>
#include <sstream>

::testing::AssertionResult SameCalls(const std::vector<std::string> &actual,
                                     const std::vector<std::string> &expected) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    size_t width = 8;
    for (const std::string &line : expected)
        width = std::max(width, line.size());
    std::ostringstream table;
    table << "\n   " << std::string("expected").append(width - 8, ' ') << " | actual\n";
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        std::string left = i < expected.size() ? expected[i] : "";
        std::string right = i < actual.size() ? actual[i] : "";
        table << (left == right ? "   " : " * ") << left << std::string(width - left.size(), ' ')
              << " | " << right << "\n";
    }
    return ::testing::AssertionFailure() << table.str();
}

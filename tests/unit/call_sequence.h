// Compares the calls a piece of the program made with the calls expected,
// and on a mismatch prints both side by side, marking where they part.
#ifndef SOMNIVO_TESTS_CALL_SEQUENCE_H
#define SOMNIVO_TESTS_CALL_SEQUENCE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

::testing::AssertionResult SameCalls(const std::vector<std::string> &actual,
                                     const std::vector<std::string> &expected);

#endif

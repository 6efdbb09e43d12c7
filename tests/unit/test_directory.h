// Each test that touches files runs in a fresh, empty working directory of
// its own, since suspend.ini lives in the working directory.
#ifndef SOMNIVO_TESTS_TEST_DIRECTORY_H
#define SOMNIVO_TESTS_TEST_DIRECTORY_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class InFreshDirectory : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static void WriteFile(const std::string &name, const std::string &bytes);
    static std::string ReadFile(const std::string &name);
    // The names in the working directory, sorted.
    static std::vector<std::string> DirectoryEntries();

  private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

#endif

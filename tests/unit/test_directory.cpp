#include "test_directory.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void InFreshDirectory::SetUp() {
    previous_ = fs::current_path();
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    directory_ = fs::temp_directory_path() / "somnivo-tests" / name;
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    fs::current_path(directory_);
}

void InFreshDirectory::TearDown() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

void InFreshDirectory::WriteFile(const std::string &name, const std::string &bytes) {
    std::ofstream file(name, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string InFreshDirectory::ReadFile(const std::string &name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::vector<std::string> InFreshDirectory::DirectoryEntries() {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(fs::current_path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// suspend.ini read and written through real files, on every build.
#include "settings_test_support.h"
#include "message_boxes.h"
#include "test_directory.h"

#include <random>

using namespace std::string_literals;

namespace {

class SettingsFile : public InFreshDirectory {};

// Every reading starts from values the file must override or keep.
const SettingsValues BEFORE = {"old suspend", "old resume", true};

struct ReadingCase {
    const char *what;
    std::string file;
    SettingsValues expected;
};

const ReadingCase READING_CASES[] = {
    {"empty file", "", BEFORE},
    {"only Minimize=YES", "Minimize=YES\r\n", {"old suspend", "old resume", true}},
    {"three lines, CR LF",
     "Suspend=s.bat\r\nResume=r.bat\r\nMinimize=NO\r\n",
     {"s.bat", "r.bat", false}},
    {"LF line ends", "Suspend=s.bat\nResume=r.bat\nMinimize=NO\n", {"s.bat", "r.bat", false}},
    {"any order, other lines between",
     "[Somnivo]\r\n\r\nMinimize=NO\r\nnoise\r\nResume=r\r\n; x\r\nSuspend=s\r\n",
     {"s", "r", false}},
    {"last line without line end", "Resume=r\r\nSuspend=last", {"last", "r", true}},
    {"lone CR is part of the line",
     "Suspend=a\rResume=b\rMinimize=NO",
     {"a\rResume=b\rMinimize=NO", "old resume", true}},
    {"CR before CR LF stays", "Suspend=a\r\r\nResume=b\r\n", {"a\r", "b", true}},
    {"CR at the very end stays", "Resume=b\r\nSuspend=a\r", {"a\r", "b", true}},
    {"Ctrl-Z ends the input",
     "Suspend=s\r\n\x1AResume=r\r\nMinimize=NO\r\n",
     {"s", "old resume", true}},
    {"Ctrl-Z inside a value",
     "Suspend=ab\x1A"
     "cd\r\nResume=r\r\n",
     {"ab", "old resume", true}},
    {"NUL inside a value is kept", "Suspend=a\0b\r\n"s, {"a\0b"s, "old resume", true}},
    {"last occurrence wins", "Suspend=first\r\nSuspend=second\r\n", {"second", "old resume", true}},
    {"a bare key empties the value", "Suspend=s\r\nSuspend=\r\nResume=\r\n", {"", "", true}},
    {"keys are case-sensitive and exact",
     "suspend=a\r\n Suspend=b\r\nSuspend =c\r\nRESUME=d\r\n\tResume=e\r\nminimize=NO\r\n", BEFORE},
    {"values keep every byte",
     "Suspend=  \"C:\\a b\\x.exe\" /k=v  \r\n",
     {"  \"C:\\a b\\x.exe\" /k=v  ", "old resume", true}},
    {"8-bit bytes",
     "Resume=C:\\\xE9t\xE9\\\xFF.bat\r\n",
     {"old suspend", "C:\\\xE9t\xE9\\\xFF.bat", true}},
    {"a byte-order mark hides the first line",
     "\xEF\xBB\xBFSuspend=s\r\nResume=r\r\n",
     {"old suspend", "r", true}},
};

void PrintTo(const ReadingCase &reading, std::ostream *out) {
    *out << reading.what;
}

class SettingsReading : public SettingsFile, public ::testing::WithParamInterface<ReadingCase> {};

TEST_P(SettingsReading, AppliesTheLineRules) {
    WriteFile("suspend.ini", GetParam().file);
    SetSettings(BEFORE);
    LoadSettings();
    EXPECT_EQ(CurrentSettings(), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsReading, ::testing::ValuesIn(READING_CASES),
                         [](const ::testing::TestParamInfo<ReadingCase> &info) {
                             return "case" + std::to_string(info.index);
                         });

struct MinimizeCase {
    std::string value;
    bool minimized;
};

TEST_F(SettingsFile, MinimizeIsTrueOnlyForAValueStartingWithYesInAnyCase) {
    const MinimizeCase cases[] = {
        {"YES", true},
        {"yes", true},
        {"yEs", true},
        {"YESTERDAY", true},
        {"Yes please", true},
        {"NO", false},
        {"", false},
        {"Y", false},
        {"YE", false},
        {" YES", false},
        {"1", false},
        {"TRUE", false},
        {"\xD9"
         "ES",
         false},
    };
    for (const MinimizeCase &minimize : cases) {
        WriteFile("suspend.ini", "Minimize=" + minimize.value + "\r\n");
        Settings.startMinimized = !minimize.minimized;
        LoadSettings();
        EXPECT_EQ(Settings.startMinimized, minimize.minimized) << '"' << minimize.value << '"';
    }
}

TEST_F(SettingsFile, NoFileLeavesTheRecordAsItWasAndShowsNothing) {
    WatchMessageBoxes watch;
    SetSettings(BEFORE);
    LoadSettings();
    EXPECT_EQ(CurrentSettings(), BEFORE);
    EXPECT_TRUE(watch.Seen().empty());
}

TEST_F(SettingsFile, ADirectoryNamedLikeTheFileIsNotRead) {
    std::filesystem::create_directory("suspend.ini");
    SetSettings(BEFORE);
    LoadSettings();
    EXPECT_EQ(CurrentSettings(), BEFORE);
}

struct WritingCase {
    SettingsValues settings;
    std::string file;
};

TEST_F(SettingsFile, WritesThreeLinesWithCrLf) {
    const WritingCase cases[] = {
        {{"", "", false}, "Suspend=\r\nResume=\r\nMinimize=NO\r\n"},
        {{"", "", true}, "Suspend=\r\nResume=\r\nMinimize=YES\r\n"},
        {{"C:\\s.bat", " r x ", false}, "Suspend=C:\\s.bat\r\nResume= r x \r\nMinimize=NO\r\n"},
        {{"a\0b"s, "c", true}, "Suspend=a\r\nResume=c\r\nMinimize=YES\r\n"},
        {{"a\rb\x1A"
          "c",
          "\xE9", false},
         "Suspend=a\rb\x1A"
         "c\r\nResume=\xE9\r\nMinimize=NO\r\n"},
    };
    for (const WritingCase &writing : cases) {
        SetSettings(writing.settings);
        SaveSettings();
        EXPECT_EQ(ReadFile("suspend.ini"), writing.file) << writing.settings;
    }
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"suspend.ini"});
}

TEST_F(SettingsFile, SizesAre32And33BytesWhenBothPathsAreEmpty) {
    SetSettings({"", "", false});
    SaveSettings();
    EXPECT_EQ(ReadFile("suspend.ini").size(), 32u);
    SetSettings({"", "", true});
    SaveSettings();
    EXPECT_EQ(ReadFile("suspend.ini").size(), 33u);
}

TEST_F(SettingsFile, ReplacesWhatWasThere) {
    WriteFile("suspend.ini", std::string(5000, 'x') + "\r\nSuspend=old\r\n");
    SetSettings({"new", "", false});
    SaveSettings();
    EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=new\r\nResume=\r\nMinimize=NO\r\n");
}

TEST_F(SettingsFile, WritingThenReadingGivesTheSameRecord) {
    std::mt19937 random(20261211);
    // Every byte but NUL, LF and Ctrl-Z survives the trip.
    std::string alphabet;
    for (int byte = 1; byte < 256; ++byte)
        if (byte != '\n' && byte != 0x1A)
            alphabet += static_cast<char>(byte);
    auto randomPath = [&] {
        std::string path(random() % 40, ' ');
        for (char &byte : path)
            byte = alphabet[random() % alphabet.size()];
        return path;
    };
    for (int round = 0; round < 200; ++round) {
        SettingsValues written = {randomPath(), randomPath(), random() % 2 == 0};
        SetSettings(written);
        SaveSettings();
        SetSettings({"", "", false});
        LoadSettings();
        ASSERT_EQ(CurrentSettings(), written) << "round " << round;
    }
}

TEST_F(SettingsFile, ADirectoryInTheWayIsReportedAndKept) {
    std::filesystem::create_directory("suspend.ini");
    WriteFile("suspend.ini/inside", "kept");
    WatchMessageBoxes watch;
    SetSettings({"s", "r", true});
    SaveSettings();
    EXPECT_EQ(watch.Seen(), (std::vector<SeenMessageBox>{
                                {"Error opening suspend.ini for writting.", "Error", 0x10}}));
    EXPECT_TRUE(std::filesystem::is_directory("suspend.ini"));
    EXPECT_EQ(ReadFile("suspend.ini/inside"), "kept");
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"suspend.ini"});
}

} // namespace

// The log: targets, the order of file and box, long text, a second start.
#include <filesystem>
#include <string>

#include "engine/log.h"
#include "platform/message_box.h"
#include "test_support.h"

namespace {

using LogTest = InTempDir;

TEST_F(LogTest, AppTargetWritesOneLineAndNoBox) {
    Log::Get().Write(LOG_APP, "Settings are %d by %d", 640, 480);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Settings are 640 by 480"});
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(LogTest, BoxTargetShowsTheTitledBoxAndLeavesTheFileAlone) {
    Log::Get().Write(LOG_BOX, "Cannot load %s!", "icon");
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(CapturedBoxes(), std::vector<std::string>{"Kelo Message|Cannot load icon!"});
}

TEST_F(LogTest, ErrorTargetWritesTheFileBeforeShowingTheBox) {
    static std::vector<std::string> fileWhenBoxShown;
    SetMessageBoxFunction(
        [](const char*, const char*) { fileWhenBoxShown = SplitLines(ReadTextFile("log.txt")); });
    Log::Get().Write(LOG_ERROR, "Error Initialising the Video!");
    SetMessageBoxFunction([](const char* title, const char* text) {
        CapturedBoxes().push_back(std::string(title) + "|" + text);
    });
    EXPECT_EQ(fileWhenBoxShown, std::vector<std::string>{"Error Initialising the Video!"});
}

TEST_F(LogTest, NoTargetEmitsNothing) {
    Log::Get().Write(0, "nothing");
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(LogTest, TextLongerThanTheBufferIsCutToFit) {
    std::string longText(5000, 'x');
    Log::Get().Write(LOG_ERROR, "%s", longText.c_str());
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_EQ(LogLines()[0], std::string(LOG_MAX_BUFFER_SIZE - 1, 'x'));
    ASSERT_EQ(CapturedBoxes().size(), 1u);
    EXPECT_EQ(CapturedBoxes()[0].size(), std::string("Kelo Message|").size() + 1023);
}

TEST_F(LogTest, FormatEndingInNewlineLeavesAnEmptyLine) {
    Log::Get().Write(LOG_APP, "Error with FMOD! (%d) %s\n", 2, "File not found.");
    Log::Get().Write(LOG_APP, "next");
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"Error with FMOD! (2) File not found.", "", "next"}));
}

TEST_F(LogTest, StartingAgainReplacesTheEarlierLog) {
    Log::Get().Write(LOG_APP, "first run");
    ASSERT_TRUE(Log::Get().Initalise());
    Log::Get().Write(LOG_APP, "second run");
    EXPECT_EQ(LogLines(), std::vector<std::string>{"second run"});
}

TEST_F(LogTest, UncreatableLogFileIsReportedInABox) {
    // A folder where the file should be: the file cannot be created.
    std::filesystem::remove("log.txt");
    std::filesystem::create_directory("log.txt");
    EXPECT_FALSE(Log::Get().Initalise());
    EXPECT_EQ(CapturedBoxes(),
              std::vector<std::string>{"Kelo Message|Cannot create the log file: log.txt"});
}

}  // namespace

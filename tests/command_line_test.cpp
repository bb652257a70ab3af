// The command line as a person types it, given to the real binary.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "game_process.h"
#include "test_support.h"

namespace {

struct OptionCase {
    const char* arguments;  // as typed in a shell
    int status;
    const char* output;  // standard output holds this
    const char* errors;  // standard error holds this; empty when the status is 0
};

const OptionCase OPTION_CASES[] = {
    {"--help", 0, "  VIDEO_FULLSCREEN=0 ", ""},
    {"-h", 0, "Escape", ""},
    {"VIDEO_WIDTH=800 --version", 0, "tobrin " TOBRIN_VERSION "\n", ""},
    {"--fullscreen", 2, "", "unknown option --fullscreen\n\nUsage: tobrin"},
    {"--", 2, "", "Usage: tobrin"},
};

class CommandLineTest : public InTempDir {};

// Without a display the game could not start; nothing is written where it runs.
TEST_F(CommandLineTest, OptionsAnswerAndExitWithoutStartingTheGame) {
    ASSERT_EQ(mkdir("run", 0755), 0);
    for (const OptionCase& option : OPTION_CASES) {
        std::string command = std::string("cd run && env -u DISPLAY -u WAYLAND_DISPLAY ") +
                              TOBRIN_BINARY + " " + option.arguments + " >../out 2>../err";
        int status = std::system(command.c_str());
        std::string output = ReadTextFile("out");
        std::string errors = ReadTextFile("err");
        EXPECT_EQ(WEXITSTATUS(status), option.status) << option.arguments;
        EXPECT_NE(output.find(option.output), std::string::npos) << option.arguments << output;
        EXPECT_NE(errors.find(option.errors), std::string::npos) << option.arguments << errors;
        EXPECT_TRUE(option.status != 0 || errors.empty()) << option.arguments << errors;
        EXPECT_FALSE(FileExists("run/log.txt")) << option.arguments;
    }
}

TEST_F(CommandLineTest, AMistypedSettingIsReportedAndTheGamePlaysOn) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "needs an X display";
    }
    CopyResources();
    GameProcess game;
    ASSERT_TRUE(
        game.Start({"+VIDEO_FULLSCRENE", "VIDEO_WIDTH=320"}, {{"SDL_AUDIODRIVER", "dummy"}}));
    std::string window = WaitForWindow("Tobrin and the Fish", 20, game.pid);
    ASSERT_FALSE(window.empty()) << ReadTextFile(game.stderrPath);
    // A close request waits in the queue while the game still loads; a key press might not.
    ASSERT_TRUE(RequestClose(window));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    std::string errors = ReadTextFile(game.stderrPath);
    EXPECT_NE(errors.find("\"VIDEO_FULLSCRENE\""), std::string::npos) << errors;
    EXPECT_EQ(errors.find("VIDEO_WIDTH"), std::string::npos) << errors;
    std::string log = ReadTextFile("log.txt");
    EXPECT_NE(log.find("Unknown setting on the command line: +VIDEO_FULLSCRENE\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Unknown setting on the command line: VIDEO_WIDTH"), std::string::npos);
}

}  // namespace

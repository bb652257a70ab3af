// Settings and dators: the setting syntax, conversions, the file round trip and its safety.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <string>

#include "engine/settings.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "test_support.h"

namespace {

class SettingsTest : public InTempDir {
protected:
    Settings* settings = nullptr;
    int width = 640;
    int height = 480;
    bool fullScreen = false;
    long highScore = 0;
    Dator<int> widthDator{width};
    Dator<int> heightDator{height};
    Dator<bool> fullScreenDator{fullScreen};
    Dator<long> highScoreDator{highScore};

    void SetUp() override {
        InTempDir::SetUp();
        settings = new Settings;
        settings->RegisterVariable(stringVideoWidth, &widthDator);
        settings->RegisterVariable(stringVideoHeight, &heightDator);
        settings->RegisterVariable(stringVideoFullScreen, &fullScreenDator);
        settings->RegisterVariable(stringHighScore, &highScoreDator);
    }
    void TearDown() override {
        delete settings;
        InTempDir::TearDown();
    }
};

using Lines = std::vector<std::string>;

TEST_F(SettingsTest, NameEqualsValueSetsAndLogs) {
    settings->ParseSetting("VIDEO_WIDTH=800");
    EXPECT_EQ(width, 800);
    EXPECT_EQ(LogLines(), Lines{"Setting variable <VIDEO_WIDTH:800:0>"});
}

TEST_F(SettingsTest, BareNamesAreSwitches) {
    settings->ParseSetting("+VIDEO_FULLSCREEN");
    EXPECT_TRUE(fullScreen);
    settings->ParseSetting("-VIDEO_FULLSCREEN");
    EXPECT_FALSE(fullScreen);
    settings->ParseSetting("+VIDEO_FULLSCREEN");
    settings->ParseSetting("VIDEO_FULLSCREEN");
    EXPECT_FALSE(fullScreen);
    EXPECT_EQ(LogLines(), (Lines{"Setting variable <VIDEO_FULLSCREEN:1:1>",
                                 "Setting variable <VIDEO_FULLSCREEN:0:-1>",
                                 "Setting variable <VIDEO_FULLSCREEN:1:1>",
                                 "Setting variable <VIDEO_FULLSCREEN:0:0>"}));
}

TEST_F(SettingsTest, PrefixWithValueStillAssigns) {
    settings->ParseSetting("+VIDEO_WIDTH=10");
    EXPECT_EQ(width, 10);
    settings->ParseSetting("-VIDEO_HEIGHT=20");
    EXPECT_EQ(height, 20);
    EXPECT_EQ(LogLines(), (Lines{"Setting variable <VIDEO_WIDTH:10:1>",
                                 "Setting variable <VIDEO_HEIGHT:20:-1>"}));
}

TEST_F(SettingsTest, NamesMatchExactlyOrAreIgnoredSilently) {
    settings->ParseSetting("VIDEO_WIDTH = 800");
    settings->ParseSetting("video_width=800");
    settings->ParseSetting("");
    settings->ParseSetting("=800");
    settings->ParseSetting("# a comment");
    EXPECT_EQ(width, 640);
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(SettingsTest, NumbersReadUpToTheFirstCharacterThatCannotContinueThem) {
    settings->ParseSetting("VIDEO_WIDTH=800x600");
    EXPECT_EQ(width, 800);
    settings->ParseSetting("VIDEO_WIDTH=1=2");
    EXPECT_EQ(width, 1);
    settings->ParseSetting("HIGH_SCORE=-42");
    EXPECT_EQ(highScore, -42);
}

TEST_F(SettingsTest, ValuesThatDoNotConvertLeaveTheVariableAsItWas) {
    for (const char* bad : {"VIDEO_WIDTH=", "VIDEO_WIDTH=wide", "VIDEO_WIDTH=99999999999999999999",
                            "VIDEO_WIDTH=-"}) {
        settings->ParseSetting(bad);
        EXPECT_EQ(width, 640) << bad;
    }
    for (const char* bad : {"VIDEO_FULLSCREEN=2", "VIDEO_FULLSCREEN=true", "VIDEO_FULLSCREEN=-1"}) {
        settings->ParseSetting("VIDEO_FULLSCREEN=1");
        settings->ParseSetting(bad);
        EXPECT_TRUE(fullScreen) << bad;
    }
}

TEST_F(SettingsTest, DatorsCompareAndPrintAsText) {
    fullScreen = true;
    std::string one = "1", word = "true", w640 = "640", w0640 = "0640", blank640 = " 640";
    EXPECT_TRUE(fullScreenDator == one);
    EXPECT_TRUE(fullScreenDator != word);
    EXPECT_TRUE(widthDator == w640);
    EXPECT_TRUE(widthDator != w0640);
    EXPECT_TRUE(widthDator != blank640);
    highScore = -7;
    EXPECT_EQ(static_cast<std::string>(highScoreDator), "-7");
    EXPECT_FALSE(widthDator.hasMultipleValues());
}

TEST_F(SettingsTest, DatorArithmetic) {
    std::string ten = "10", one = "1", zero = "0";
    widthDator += ten;
    EXPECT_EQ(width, 650);
    widthDator -= ten;
    widthDator -= ten;
    EXPECT_EQ(width, 630);
    fullScreenDator += one;  // either is true
    EXPECT_TRUE(fullScreen);
    fullScreenDator -= one;  // true when the two differ
    EXPECT_FALSE(fullScreen);
    fullScreenDator -= zero;
    EXPECT_FALSE(fullScreen);
}

TEST_F(SettingsTest, RegistryBindsRebindsAndLooksUp) {
    std::string unknown = "NOT_THERE";
    EXPECT_EQ(settings->GetVariable(unknown), nullptr);
    EXPECT_EQ(settings->GetVariable(stringVideoWidth), &widthDator);
    int other = 1;
    Dator<int> otherDator(other);
    settings->RegisterVariable(stringVideoWidth, &otherDator);
    settings->ParseSetting("VIDEO_WIDTH=5");
    EXPECT_EQ(other, 5);
    EXPECT_EQ(width, 640);
}

TEST_F(SettingsTest, FileIsAppliedInOrderAndTheLastLineWins) {
    WriteTextFile("tobrin.cfg",
                  "VIDEO_WIDTH=800\nbogus line\n\nVIDEO_HEIGHT=600\r\nVIDEO_WIDTH=1024\n");
    settings->ParseFile("tobrin.cfg");
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 600);
}

TEST_F(SettingsTest, EmptyOrBlankFileChangesAndLogsNothing) {
    WriteTextFile("tobrin.cfg", "");
    settings->ParseFile("tobrin.cfg");
    WriteTextFile("tobrin.cfg", "\n\n\n");
    settings->ParseFile("tobrin.cfg");
    EXPECT_EQ(width, 640);
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(SettingsTest, MissingOrUnreadableFileIsLoggedAndChangesNothing) {
    settings->ParseFile("tobrin.cfg");
    std::filesystem::create_directory("folder.cfg");
    settings->ParseFile("folder.cfg");
    EXPECT_EQ(width, 640);
    EXPECT_EQ(LogLines(), (Lines{"Cannot open settings file: tobrin.cfg",
                                 "Cannot open settings file: folder.cfg"}));
}

TEST_F(SettingsTest, LineLongerThanTheBufferIsPassedOverWithoutStoppingOrLooping) {
    std::string longLine = "VIDEO_WIDTH=" + std::string(3000, '7');
    std::string exactLine = "VIDEO_HEIGHT=" + std::string(1023 - 14, '0') + "5";
    ASSERT_EQ(exactLine.size(), 1023u);
    WriteTextFile("tobrin.cfg", "VIDEO_HEIGHT=600\n" + longLine + "\n" + exactLine +
                                    "\nHIGH_SCORE=9\n" + longLine);
    settings->ParseFile("tobrin.cfg");
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 5);  // a line of exactly the buffer's size still reads whole
    EXPECT_EQ(highScore, 9);
}

TEST_F(SettingsTest, WriteFileListsEveryVariableInAscendingNameOrder) {
    std::string unbound = "ZZZ_NULL";
    settings->RegisterVariable(unbound, nullptr);
    WriteTextFile("tobrin.cfg", "VIDEO_WIDTH=800\nobsolete=1\nHIGH_SCORE=12\n");
    settings->ParseFile("tobrin.cfg");
    ASSERT_TRUE(settings->WriteFile("tobrin.cfg"));
    EXPECT_EQ(ReadTextFile("tobrin.cfg"),
              "HIGH_SCORE=12\nVIDEO_FULLSCREEN=0\nVIDEO_HEIGHT=480\nVIDEO_WIDTH=800\n");
    EXPECT_FALSE(FileExists("tobrin.cfg.tmp"));
}

TEST_F(SettingsTest, UnwritablePlaceIsLoggedAndReportedAsFailure) {
    // A path through a plain file cannot be written, not even by root.
    WriteTextFile("plain", "");
    EXPECT_FALSE(settings->WriteFile("plain/tobrin.cfg"));
    EXPECT_EQ(LogLines().back(), "Cannot write to settings file: plain/tobrin.cfg");
}

TEST_F(SettingsTest, TargetThatIsAFolderIsLoggedNotCrashed) {
    std::filesystem::create_directory("tobrin.cfg");
    EXPECT_FALSE(settings->WriteFile("tobrin.cfg"));
    EXPECT_EQ(LogLines().back(), "Cannot write to settings file: tobrin.cfg");
    EXPECT_FALSE(FileExists("tobrin.cfg.tmp"));
}

// A dator whose conversion kills the process, so the write dies halfway through the file.
class CrashingDator final : public BaseDator {
public:
    BaseDator& operator=(std::string&) override { return *this; }
    BaseDator& operator+=(std::string&) override { return *this; }
    BaseDator& operator-=(std::string&) override { return *this; }
    bool operator==(std::string&) override { return false; }
    bool operator!=(std::string&) override { return true; }
    bool hasMultipleValues() override { return false; }
    operator std::string() override { _exit(3); }
};

TEST_F(SettingsTest, CrashMidWriteLeavesTheOldFileWhole) {
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=4321\nVIDEO_WIDTH=800\n");
    CrashingDator crash;
    std::string name = "VIDEO_HEIGHT";  // after HIGH_SCORE and VIDEO_FULLSCREEN are written
    settings->RegisterVariable(name, &crash);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        settings->WriteFile("tobrin.cfg");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=4321\nVIDEO_WIDTH=800\n");
    // The next write replaces the half-written leftover.
    settings->RegisterVariable(name, &heightDator);
    ASSERT_TRUE(settings->WriteFile("tobrin.cfg"));
    EXPECT_EQ(SplitLines(ReadTextFile("tobrin.cfg")).size(), 4u);
}

TEST_F(SettingsTest, FullDiskFailsTheWriteAndKeepsTheOldFile) {
    // Past a file size limit every write fails, as on a full disk.
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=5\n");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(settings->WriteFile("tobrin.cfg") ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=5\n");
}

// Files as they really turn up: cut short, zero-filled, saved on Windows, hand-edited, or not
// text at all. None stops the program, and the next write holds every setting again.
TEST_F(SettingsTest, DamagedFilesAreReadSafelyAndRewrittenWhole) {
    std::string nulInside = "VIDEO_HEIGHT=600\nVIDEO_WI";
    nulInside += '\0';
    nulInside += "DTH=900\nHIGH_SCORE=7\n";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    struct Case {
        const char* name;
        std::string text;
        int width, height;
        long highScore;
    };
    const Case cases[] = {
        {"empty", "", 640, 480, 0},
        {"zero-filled", std::string(8192, '\0'), 640, 480, 0},
        {"cut mid-line", "VIDEO_HEIGHT=600\nHIGH_SCORE=12\nVIDEO_WIDTH=10", 10, 600, 12},
        {"cut mid-name", "HIGH_SCORE=12\nVIDEO_WID", 640, 480, 12},
        {"Windows line ends", "VIDEO_WIDTH=800\r\nVIDEO_HEIGHT=600\r\n", 800, 600, 0},
        {"a NUL byte", nulInside, 640, 600, 7},
        {"a line of 2 MB", "VIDEO_WIDTH=800\n" + std::string(2 << 20, 'x') + "\nHIGH_SCORE=3\n",
         800, 480, 3},
        {"binary garbage", garbage, 640, 480, 0},
        {"a name twice", "HIGH_SCORE=5\nHIGH_SCORE=9\n", 640, 480, 9},
    };
    for (const Case& c : cases) {
        width = 640, height = 480, highScore = 0, fullScreen = false;
        WriteTextFile("tobrin.cfg", c.text);
        settings->ParseFile("tobrin.cfg");
        EXPECT_EQ(width, c.width) << c.name;
        EXPECT_EQ(height, c.height) << c.name;
        EXPECT_EQ(highScore, c.highScore) << c.name;
        ASSERT_TRUE(settings->WriteFile("tobrin.cfg")) << c.name;
        std::vector<std::string> lines = SplitLines(ReadTextFile("tobrin.cfg"));
        ASSERT_EQ(lines.size(), 4u) << c.name;  // the four this registry holds
        EXPECT_EQ(lines[0], "HIGH_SCORE=" + std::to_string(c.highScore)) << c.name;
    }
}

TEST_F(SettingsTest, GameRegistersTheFiveDefaults) {
    delete settings;
    settings = new Settings;
    Game game;
    game.SetDefaultSettings(settings);
    ASSERT_TRUE(settings->WriteFile("tobrin.cfg"));
    EXPECT_EQ(
        ReadTextFile("tobrin.cfg"),
        "HIGH_SCORE=0\nVIDEO_BPP=16\nVIDEO_FULLSCREEN=0\nVIDEO_HEIGHT=480\nVIDEO_WIDTH=640\n");
}

}  // namespace

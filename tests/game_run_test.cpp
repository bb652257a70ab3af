// The real game, run in a fresh folder as a person would run it.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "game_process.h"
#include "test_support.h"

namespace {

const char* const TITLE = "Tobrin and the Fish";

class GameRunTest : public InTempDir {
protected:
    GameProcess game;
    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "needs an X display";
        }
        InTempDir::SetUp();
        CopyResources();
    }
    bool LogHas(const std::string& line) {
        std::vector<std::string> lines = LogLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    bool HoldKeyUntilLogged(const std::string& key, const std::string& line) {
        std::system(("xdotool keydown " + key).c_str());
        bool logged = false;
        for (int wait = 0; wait < 200 && !logged; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            logged = LogHas(line);
        }
        std::system(("xdotool keyup " + key).c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return logged;
    }
    std::string OpenWindow(const std::vector<std::string>& arguments) {
        EXPECT_TRUE(game.Start(arguments, {{"SDL_AUDIODRIVER", "dummy"}}));
        std::string window = WaitForWindow(TITLE, 20, game.pid);
        EXPECT_FALSE(window.empty()) << ReadTextFile(game.stderrPath);
        return window;
    }
};

TEST_F(GameRunTest, OpensTheWindowFromSettingsLogsAndQuitsOnEscape) {
    WriteTextFile("tobrin.cfg",
                  "VIDEO_WIDTH=1024\nobsolete line\nHIGH_SCORE=77\nVIDEO_HEIGHT=600\n");
    std::string window = OpenWindow({"VIDEO_WIDTH=800"});
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(WindowSize(window), std::make_pair(800, 600));
    // Long enough for a frame-rate line.
    std::this_thread::sleep_for(std::chrono::milliseconds(5600));
    ASSERT_TRUE(FocusWindow(window));
    ASSERT_TRUE(PressKey("Escape"));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);

    EXPECT_EQ(
        ReadTextFile("tobrin.cfg"),
        "HIGH_SCORE=77\nVIDEO_BPP=16\nVIDEO_FULLSCREEN=0\nVIDEO_HEIGHT=600\nVIDEO_WIDTH=800\n");
    std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Setting variable <VIDEO_WIDTH:1024:0>");
    EXPECT_EQ(lines[1], "Setting variable <HIGH_SCORE:77:0>");
    EXPECT_EQ(lines[2], "Setting variable <VIDEO_HEIGHT:600:0>");
    EXPECT_EQ(lines[3], "Setting variable <VIDEO_WIDTH:800:0>");
    EXPECT_TRUE(LogHas("Settings are 800 by 600"));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Log info: FPS: ", 0) == 0;
    }));
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(GameRunTest, LoadsEveryFileAndSwitchesEffectsAndMusicWithF2AndF3) {
    std::string window = OpenWindow({});
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(FocusWindow(window));
    // Keys are held until the game answers: while it still loads, it reads no keys.
    EXPECT_TRUE(HoldKeyUntilLogged("F2", "Sound effects off"));
    EXPECT_TRUE(HoldKeyUntilLogged("F3", "Music off"));
    EXPECT_TRUE(HoldKeyUntilLogged("F3", "Music on"));
    EXPECT_TRUE(HoldKeyUntilLogged("F2", "Sound effects on"));
    ASSERT_TRUE(PressKey("Escape"));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    std::vector<std::string> switches;
    for (const std::string& line : LogLines()) {
        if (line.rfind("Sound effects ", 0) == 0 || line.rfind("Music ", 0) == 0) {
            switches.push_back(line);
        }
    }
    EXPECT_EQ(switches, (std::vector<std::string>{"Sound effects off", "Music off", "Music on",
                                                  "Sound effects on"}))
        << "each press switches once, however long it is held";
    EXPECT_TRUE(CapturedBoxes().empty());
}

// Counts the pixels of a screenshot that are mostly blue: the sea.
int SeaPixels(const Screenshot& shot) {
    int sea = 0;
    for (int y = 0; y < shot.height; y += 4) {
        for (int x = 0; x < shot.width; x += 4) {
            std::vector<int> pixel = shot.At(x, y);
            sea += pixel[2] > 150 && pixel[0] < 80 ? 1 : 0;
        }
    }
    return sea;
}

TEST_F(GameRunTest, PlaysAGameFromTheMenuWithPauseAndQuits) {
    std::string window = OpenWindow({"VIDEO_WIDTH=640", "VIDEO_HEIGHT=480"});
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(FocusWindow(window));
    std::this_thread::sleep_for(std::chrono::milliseconds(5000));  // the title words settle
    Screenshot menu = TakeScreenshot(window);
    ASSERT_EQ(menu.width, 640);
    KeepScreenshot(menu, "menu");
    EXPECT_GT(SeaPixels(menu), 640 * 480 / 16 / 4) << "the menu runs over a live ocean";

    EXPECT_TRUE(HoldKeyUntilLogged("Return", "Game started"));
    std::system(
        "xdotool keydown space sleep 0.4 keyup space sleep 0.2 keydown space sleep 0.3 "
        "keyup space");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));  // the circle has opened
    Screenshot chase = TakeScreenshot(window);
    KeepScreenshot(chase, "chase");
    EXPECT_GT(SeaPixels(chase), 640 * 480 / 16 / 2) << "the chase shows the open sea";
    std::vector<int> scoreCorner = chase.At(630, 470);
    EXPECT_NE(scoreCorner, menu.At(630, 470));

    EXPECT_TRUE(HoldKeyUntilLogged("Pause", "Paused"));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));  // the banner glides in
    Screenshot paused = TakeScreenshot(window);
    KeepScreenshot(paused, "paused");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Screenshot stillPaused = TakeScreenshot(window);
    ASSERT_EQ(stillPaused.rgb.size(), paused.rgb.size());
    size_t changed = 0;
    for (size_t i = 0; i < paused.rgb.size(); i += 3) {
        changed +=
            paused.rgb[i] != stillPaused.rgb[i] || paused.rgb[i + 2] != stillPaused.rgb[i + 2];
    }
    // Only the propeller turns on and the banner settles by a pixel; a running ocean would
    // scroll the whole picture.
    EXPECT_LT(changed, 640u * 480u / 25u) << "the ocean stands still while paused";
    EXPECT_TRUE(HoldKeyUntilLogged("Pause", "Resumed"));

    ASSERT_TRUE(PressKey("Escape"));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    EXPECT_TRUE(CapturedBoxes().empty());
}

// Whole games played through to the chomp, Space held down in one and mashed in the other:
// the chase begins, the big fish ends it, the menu returns with the score, and the high score
// is in tobrin.cfg when the game has ended.
TEST_F(GameRunTest, PlaysWholeGamesHeldAndMashedUntilTheFishChomps) {
    std::string window = OpenWindow({});
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(FocusWindow(window));
    for (int game = 0; game < 2; ++game) {
        const bool held = game == 0;
        size_t gamesOver = 0;
        for (const std::string& line : LogLines()) {
            gamesOver += line.rfind("Game over with ", 0) == 0;
        }
        ASSERT_TRUE(HoldKeyUntilLogged("Return", "Game started")) << "game " << game;
        if (held) {
            std::system("xdotool keydown space");
        }
        bool over = false;
        for (int round = 0; round < 400 && !over; ++round) {
            if (!held) {
                std::system("xdotool keydown space sleep 0.15 keyup space");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(held ? 300 : 150));
            size_t now = 0;
            for (const std::string& line : LogLines()) {
                now += line.rfind("Game over with ", 0) == 0;
            }
            over = now > gamesOver;
        }
        std::system("xdotool keyup space");
        ASSERT_TRUE(over) << "the big fish never caught the submarine in game " << game;
        KeepScreenshot(TakeScreenshot(window), held ? "menu_after_held" : "menu_after_mashed");
    }
    ASSERT_TRUE(PressKey("Escape"));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    std::string cfg = ReadTextFile("tobrin.cfg");
    EXPECT_EQ(cfg.rfind("HIGH_SCORE=", 0), 0u) << cfg;
}

TEST_F(GameRunTest, UnwritableLogEndsStartUpAndUnwritableSettingsAreReported) {
    // A folder where log.txt should be: the log cannot be created, so the game does not start.
    std::filesystem::remove("log.txt");
    std::filesystem::create_directory("log.txt");
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=77\n");
    GameProcess noLog;
    ASSERT_TRUE(noLog.Start(
        {}, {{"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}}));
    ASSERT_TRUE(noLog.WaitForExit(20));
    EXPECT_NE(noLog.exitStatus, 0);
    EXPECT_NE(
        ReadTextFile(noLog.stderrPath).find("Kelo Message: Cannot create the log file: log.txt"),
        std::string::npos);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=77\n");
    std::filesystem::remove("log.txt");

    // A folder where tobrin.cfg should be: the game plays, and says it could not save.
    std::filesystem::remove("tobrin.cfg");
    std::filesystem::create_directory("tobrin.cfg");
    GameProcess noSettings;
    ASSERT_TRUE(noSettings.Start({}, {{"SDL_AUDIODRIVER", "dummy"}}));
    ASSERT_FALSE(WaitForWindow(TITLE, 20, noSettings.pid).empty());
    kill(noSettings.pid, SIGTERM);
    ASSERT_TRUE(noSettings.WaitForExit(20));
    EXPECT_EQ(noSettings.exitStatus, 0);
    EXPECT_TRUE(LogHas("Cannot open settings file: tobrin.cfg"));
    EXPECT_TRUE(LogHas("Cannot write to settings file: tobrin.cfg"));
}

TEST_F(GameRunTest, StallOfSecondsAndTheHugeFrameAfterItAreSurvived) {
    std::string window = OpenWindow({});
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(FocusWindow(window));
    EXPECT_TRUE(HoldKeyUntilLogged("Return", "Game started"));
    kill(game.pid, SIGSTOP);
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    kill(game.pid, SIGCONT);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Screenshot after = TakeScreenshot(window);
    EXPECT_GT(SeaPixels(after), 0) << "still drawing the ocean";
    ASSERT_TRUE(PressKey("Escape"));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    EXPECT_TRUE(FileExists("tobrin.cfg"));
}

// A picture or a sound that is cut short or is no such file at all: the start-up ends with a
// message naming the file, a failing status, and the settings untouched.
TEST_F(GameRunTest, DamagedPicturesAndSoundsEndStartUpCleanly) {
    struct Damage {
        const char* file;
        size_t keepBytes;  // 0: replaced by text
        const char* logLine;
    };
    const Damage damages[] = {
        {"resources/images/wave.png", 100,
         "Warning: problem loading image 'resources/images/wave.png'"},
        {"resources/images/sub.png", 0,
         "Warning: problem loading image 'resources/images/sub.png'"},
        {"resources/audio/collide2.wav", 0,
         "Sound: Cannot load sound file 'resources/audio/collide2.wav'"},
        {"resources/audio/attack.xm", 400,
         "Sound: Cannot load sound file 'resources/audio/attack.xm'"},
    };
    for (const Damage& damage : damages) {
        std::filesystem::remove_all("resources");
        CopyResources();
        std::string original = ReadTextFile(damage.file);
        WriteTextFile(damage.file, damage.keepBytes ? original.substr(0, damage.keepBytes)
                                                    : std::string("not a picture, not a sound"));
        WriteTextFile("tobrin.cfg", "HIGH_SCORE=4711\n");
        GameProcess run;
        ASSERT_TRUE(run.Start(
            {}, {{"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}}));
        ASSERT_TRUE(run.WaitForExit(20)) << damage.file;
        EXPECT_NE(run.exitStatus, 0) << damage.file;
        std::vector<std::string> lines = LogLines();
        auto has = [&](const std::string& start) {
            return std::any_of(lines.begin(), lines.end(),
                               [&](const std::string& line) { return line.rfind(start, 0) == 0; });
        };
        EXPECT_TRUE(has(damage.logLine)) << damage.file << "\n" << ReadTextFile("log.txt");
        EXPECT_TRUE(has("Error Initialising the World Task!")) << damage.file;
        EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=4711\n") << damage.file;
    }
}

TEST_F(GameRunTest, MissingSoundEndsStartUpWithTheWorldTaskError) {
    std::filesystem::remove("resources/audio/bite.wav");
    ASSERT_TRUE(game.Start(
        {}, {{"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}}));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_NE(game.exitStatus, 0);
    EXPECT_TRUE(LogHas("Sound: Cannot open sound file 'resources/audio/bite.wav'"));
    EXPECT_TRUE(LogHas("Error Initialising the World Task!"));
    EXPECT_FALSE(FileExists("tobrin.cfg"));
}

TEST_F(GameRunTest, CloseRequestEndsItAndWritesTheSettings) {
    std::string window = OpenWindow({});
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(WindowSize(window), std::make_pair(640, 480));
    ASSERT_TRUE(RequestClose(window));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    EXPECT_EQ(
        ReadTextFile("tobrin.cfg"),
        "HIGH_SCORE=0\nVIDEO_BPP=16\nVIDEO_FULLSCREEN=0\nVIDEO_HEIGHT=480\nVIDEO_WIDTH=640\n");
    EXPECT_TRUE(LogHas("Cannot open settings file: tobrin.cfg"));
}

TEST_F(GameRunTest, TerminationAndInterruptSignalsEndItCleanly) {
    for (int signal : {SIGTERM, SIGINT}) {
        std::filesystem::remove("tobrin.cfg");
        GameProcess run;
        ASSERT_TRUE(run.Start({"HIGH_SCORE=5"}, {{"SDL_AUDIODRIVER", "dummy"}}));
        ASSERT_FALSE(WaitForWindow(TITLE, 20, run.pid).empty());
        kill(run.pid, signal);
        ASSERT_TRUE(run.WaitForExit(20)) << "signal " << signal;
        EXPECT_EQ(run.exitStatus, 0) << "signal " << signal;
        EXPECT_EQ(SplitLines(ReadTextFile("tobrin.cfg"))[0], "HIGH_SCORE=5");
    }
}

TEST_F(GameRunTest, RunsWithoutSoundHardware) {
    std::string window;
    ASSERT_TRUE(game.Start({}, {{"SDL_AUDIODRIVER", "no_such_device"}}));
    window = WaitForWindow(TITLE, 20, game.pid);
    ASSERT_FALSE(window.empty());
    kill(game.pid, SIGTERM);
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_EQ(game.exitStatus, 0);
    std::vector<std::string> lines = LogLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("runs without sound") != std::string::npos;
                            }),
              1);
}

TEST_F(GameRunTest, MissingIconShowsTheBoxAndEndsWithFailureLeavingTheSettingsAlone) {
    std::filesystem::remove("resources/images/tobrin_icon.png");
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=1234\n");
    ASSERT_TRUE(game.Start({"VIDEO_WIDTH=800"}, {{"SDL_AUDIODRIVER", "dummy"}}));
    // The real message box: a person reads it and presses Return.
    std::string box = WaitForWindow("Kelo Message", 20);
    ASSERT_FALSE(box.empty()) << ReadTextFile(game.stderrPath);
    EXPECT_TRUE(WaitForWindow(TITLE, 0.2, game.pid).empty())
        << "no game window before the box is closed";
    ASSERT_TRUE(FocusWindow(box));
    ASSERT_TRUE(PressKey("Return"));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_NE(game.exitStatus, 0);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=1234\n");
    EXPECT_TRUE(LogHas("Cannot load icon!"));
}

TEST_F(GameRunTest, WithoutAnyDisplayItReportsTheVideoErrorInsteadOfRunningUnseen) {
    ASSERT_TRUE(game.Start({}, {{"DISPLAY", ""},
                                {"WAYLAND_DISPLAY", ""},
                                {"SDL_VIDEODRIVER", ""},
                                {"SDL_AUDIODRIVER", "dummy"}}));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_NE(game.exitStatus, 0);
    EXPECT_TRUE(LogHas("Cannot initialise SDL video subsystem!") ||
                LogHas("Cannot assign video mode of 640 by 480, BPP: 16, flags: 268435458"));
    EXPECT_TRUE(LogHas("Error Initialising the Video!"));
    // With no display the boxes go to standard error.
    std::string errors = ReadTextFile(game.stderrPath);
    EXPECT_NE(errors.find("Kelo Message: Error Initialising the Video!"), std::string::npos)
        << errors;
    EXPECT_FALSE(FileExists("tobrin.cfg"));
}

TEST_F(GameRunTest, ImpossibleVideoModeStopsTheStartedTasksAndFails) {
    ASSERT_TRUE(game.Start({"VIDEO_WIDTH=100000", "VIDEO_HEIGHT=100000"},
                           {{"DISPLAY", ""}, {"SDL_AUDIODRIVER", "dummy"}}));
    ASSERT_TRUE(game.WaitForExit(20));
    EXPECT_NE(game.exitStatus, 0);
    EXPECT_FALSE(FileExists("tobrin.cfg"));
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The real game, run in a fresh folder and driven with real key presses as a person would.
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "game_process.h"
#include "test_support.h"

// Last: its macros (None, Status) would rename words of the headers above.
#include <X11/Xlib.h>

namespace {

const char* const TITLE = "Tobrin and the Fish";
const std::map<std::string, std::string> UNSEEN = {
    {"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};

class GameRunTest : public InTempDir {
protected:
    PrivateDisplay display;
    GameProcess game;
    void SetUp() override {
        NeedTool("xdotool", "xdotool");
        NeedTool("Xvfb", "xvfb");
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(display.Start()) << "Xvfb did not start";
        InTempDir::SetUp();
        CopyResources();
    }
    void TearDown() override {
        game.Kill();
        InTempDir::TearDown();
    }
    // Held until the game is gone: while it still loads it reads no keys.
    static bool HoldEscapeUntilExit(GameProcess& run) {
        std::system("xdotool keydown Escape");
        bool ended = run.WaitForExit(20);
        std::system("xdotool keyup Escape");
        return ended;
    }
    // Whether a line starting so is logged more often than `before` times within the seconds.
    bool LoggedMoreThan(const std::string& line, int before, int seconds = 10) {
        for (int wait = 0; wait < seconds * 20 && LinesStartingWith(line) <= before; ++wait) {
            Sleep(50);
        }
        return LinesStartingWith(line) > before;
    }
    // The game reads no keys while it loads, so a key is held until the game answers.
    bool HoldKeyUntilLogged(const std::string& key, const std::string& line, int seconds = 10) {
        int before = LinesStartingWith(line);
        std::system(("xdotool keydown " + key).c_str());
        bool logged = LoggedMoreThan(line, before, seconds);
        std::system(("xdotool keyup " + key).c_str());
        Sleep(100);
        return logged;
    }
    // A quick tap, as xdotool gives it: the game must not miss it however slow its frames.
    bool Tap(const std::string& key, const std::string& line) {
        int before = LinesStartingWith(line);
        return std::system(("xdotool key " + key).c_str()) == 0 && LoggedMoreThan(line, before);
    }
    std::string OpenWindow(const std::vector<std::string>& arguments = {}) {
        return OpenWindow(arguments, game);
    }
    std::string OpenWindow(const std::vector<std::string>& arguments, GameProcess& run,
                           std::map<std::string, std::string> environment = {}) {
        environment.emplace("SDL_AUDIODRIVER", "dummy");
        EXPECT_TRUE(run.Start(arguments, environment));
        std::string window = WaitForWindow(TITLE, 20, run.pid);
        EXPECT_FALSE(window.empty()) << ReadTextFile(run.stderrPath) << ReadTextFile("log.txt");
        if (!window.empty()) {
            EXPECT_TRUE(FocusWindow(window));
        }
        return window;
    }
    void QuitWithEscape() {
        ASSERT_TRUE(HoldEscapeUntilExit(game));
        EXPECT_EQ(game.exitStatus, 0);
    }
};

// Every way to quit in the middle of a game ends it and the program with status 0, and writes
// the settings back, the command line's among them; a folder in the settings file's place is
// reported, not fatal.
TEST_F(GameRunTest, EveryWayToQuitSavesTheSettings) {
    struct Way {
        const char* name;
        std::function<void(GameProcess&, const std::string&)> quit;
        bool folderForSettings = false;
    } ways[] = {
        {"Escape", [](GameProcess& run, const std::string&) { HoldEscapeUntilExit(run); }},
        {"close", [](GameProcess&, const std::string& window) { RequestClose(window); }},
        {"SIGTERM", [](GameProcess& run, const std::string&) { kill(run.pid, SIGTERM); }},
        {"SIGINT", [](GameProcess& run, const std::string&) { kill(run.pid, SIGINT); }, true},
        {"SIGHUP", [](GameProcess& run, const std::string&) { kill(run.pid, SIGHUP); }},
        {"SIGQUIT", [](GameProcess& run, const std::string&) { kill(run.pid, SIGQUIT); }},
    };
    for (const Way& way : ways) {
        std::filesystem::remove_all("tobrin.cfg");
        WriteTextFile("tobrin.cfg", "VIDEO_WIDTH=1024\nobsolete line\nHIGH_SCORE=77\n");
        if (way.folderForSettings) {
            std::filesystem::remove("tobrin.cfg");
            std::filesystem::create_directory("tobrin.cfg");
        }
        GameProcess run;
        std::string window =
            OpenWindow({"VIDEO_WIDTH=400", "+VIDEO_FULLSCRENE", "VIDEO_HEIGHT=300"}, run);
        ASSERT_FALSE(window.empty()) << way.name;
        Screenshot shot = TakeScreenshot(window);
        EXPECT_EQ(std::make_pair(shot.width, shot.height), std::make_pair(400, 300)) << way.name;
        ASSERT_TRUE(HoldKeyUntilLogged("Return", "Game started")) << way.name;
        EXPECT_TRUE(LogHas(way.folderForSettings ? "Menu: high score 0, last score 0"
                                                 : "Menu: high score 77, last score 0"))
            << way.name << ": read at the start";
        kill(run.pid, SIGPIPE);  // what writing to a closed terminal sends
        EXPECT_FALSE(run.WaitForExit(0.1)) << way.name << ": SIGPIPE ends no game";
        way.quit(run, window);
        ASSERT_TRUE(run.WaitForExit(20)) << way.name;
        EXPECT_EQ(run.exitStatus, 0) << way.name;
        EXPECT_TRUE(LogHas("Game quit with ")) << way.name << ": the game in progress ends";
        EXPECT_TRUE(LogHas("Unknown setting on the command line: +VIDEO_FULLSCRENE"));
        EXPECT_NE(ReadTextFile(run.stderrPath).find("\"VIDEO_FULLSCRENE\""), std::string::npos);
        if (way.folderForSettings) {
            EXPECT_TRUE(LogHas("Cannot write to settings file: tobrin.cfg"));
        } else {
            EXPECT_EQ(ReadTextFile("tobrin.cfg"),
                      "HIGH_SCORE=77\nJOY_PAUSE_BUTTON=-1\nJOY_RAW=0\nSOUND_EFFECTS=1\n"
                      "SOUND_MUSIC=1\nVIDEO_BPP=16\nVIDEO_FULLSCREEN=0\nVIDEO_HEIGHT=300\n"
                      "VIDEO_VSYNC=1\nVIDEO_WIDTH=400\n")
                << way.name;
        }
    }
    EXPECT_TRUE(CapturedBoxes().empty());
}

// Options answer on the terminal and exit without a window, a log or a settings file.
TEST_F(GameRunTest, OptionsAnswerAndExitWithoutStartingTheGame) {
    const struct {
        const char* arguments;  // as typed in a shell
        int status;
        const char* output;  // standard output holds this
        const char* errors;  // standard error holds this; empty when the status is 0
    } options[] = {
        {"--help", 0, "  VIDEO_FULLSCREEN=0 ", ""},
        {"-h", 0, "Escape", ""},
        {"VIDEO_WIDTH=800 --version", 0, "tobrin " TOBRIN_VERSION "\n", ""},
        {"--fullscreen", 2, "", "unknown option --fullscreen\n\nUsage: tobrin"},
        {"--", 2, "", "Usage: tobrin"},
        {"--watch", 2, "", "tobrin: --watch needs a FILE\n\nUsage: tobrin"},
    };
    for (const auto& option : options) {
        std::string command =
            std::string("env -u DISPLAY ") + TOBRIN_BINARY + " " + option.arguments + " >out 2>err";
        int status = std::system(command.c_str());
        std::string output = ReadTextFile("out"), errors = ReadTextFile("err");
        EXPECT_EQ(WEXITSTATUS(status), option.status) << option.arguments;
        EXPECT_NE(output.find(option.output), std::string::npos) << option.arguments << output;
        EXPECT_NE(errors.find(option.errors), std::string::npos) << option.arguments << errors;
        EXPECT_TRUE(option.status != 0 || errors.empty()) << option.arguments << errors;
        EXPECT_TRUE(LogLines().empty() && !std::filesystem::exists("tobrin.cfg"))
            << option.arguments;
    }
}

// Whatever stops the start-up is named in the log, ends the game with a failing status and
// leaves the settings file as it was.
TEST_F(GameRunTest, StartUpFailuresAreNamedAndLeaveTheSettingsAlone) {
    const struct {
        const char* path;
        const char* damage;   // cut to this many bytes, "text", "gone", "|" a FIFO
        const char* display;  // null: none, drawn off screen; else unreachable, no driver asked
        const char* logLine;
    } failures[] = {
        {"resources/images/wave.png", "100", nullptr,
         "Warning: problem loading image 'resources/images/wave.png'"},
        {"resources/audio/collide2.wav", "text", nullptr,
         "Sound: Cannot load sound file 'resources/audio/collide2.wav'"},
        {"resources/audio/attack.xm", "400", nullptr,
         "Sound: Cannot load sound file 'resources/audio/attack.xm'"},
        {"resources/audio/bite.wav", "gone", nullptr,
         "Sound: Cannot open sound file 'resources/audio/bite.wav'"},
        {"resources/images/wave.png", "|", nullptr,
         "Warning: problem loading image 'resources/images/wave.png': not a regular file"},
        {"", "", "", "Error Initialising the Video!"},
        {"", "", ":77", "Cannot initialise SDL video subsystem!"},
    };
    for (const auto& failure : failures) {
        std::filesystem::remove_all("resources");
        std::filesystem::remove_all("log.txt");
        CopyResources();
        WriteTextFile("tobrin.cfg", "HIGH_SCORE=4711\n");
        std::string damage = failure.damage, whole = ReadTextFile(failure.path);
        if (damage == "gone") {
            std::filesystem::remove(failure.path);
        } else if (damage == "|" || damage == "text") {
            Plant(failure.path, damage == "|" ? "|" : "not a picture, not a sound");
        } else if (!damage.empty() && damage != "gone") {
            WriteTextFile(failure.path, whole.substr(0, std::stoul(damage)));
        }
        GameProcess run;
        std::map<std::string, std::string> environment = UNSEEN;
        if (failure.display) {
            environment = {{"DISPLAY", failure.display},
                           {"SDL_VIDEODRIVER", ""},
                           {"WAYLAND_DISPLAY", ""},
                           {"SDL_AUDIODRIVER", "dummy"}};
        }
        ASSERT_TRUE(run.Start({}, environment));
        ASSERT_TRUE(run.WaitForExit(20));
        EXPECT_EQ(run.exitStatus, 1) << ReadTextFile("log.txt");
        std::string errors = ReadTextFile(run.stderrPath);
        EXPECT_TRUE(LogHas(failure.logLine)) << ReadTextFile("log.txt");
        EXPECT_NE(errors.find("Kelo Message: Error Initialising"), std::string::npos)
            << "without a display the box goes to standard error: " << errors;
        EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=4711\n");
    }
}

// The real message box: a person reads it and presses Return; a logout, an interrupt or a kill
// -9 while it waits takes it down with the program. Either way the start fails and the settings
// stay as they were.
TEST_F(GameRunTest, MissingIconShowsTheBoxUntilReturnOrAQuitSignal) {
    std::filesystem::remove("resources/images/tobrin_icon.png");
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=1234\n");
    for (int signal : {0, SIGTERM, SIGINT, SIGKILL}) {
        GameProcess run;
        ASSERT_TRUE(run.Start({"HIGH_SCORE=1"}, {{"SDL_AUDIODRIVER", "dummy"}}));
        std::string box = WaitForWindow("Kelo Message", 20);
        ASSERT_FALSE(box.empty())
            << ReadTextFile(run.stderrPath)
            << " (the box needs the X core fonts: Debian package xfonts-base)";
        EXPECT_TRUE(WaitForWindow(TITLE, 0.2, run.pid).empty()) << "the box comes first";
        if (signal) {
            kill(run.pid, signal);
        } else {
            ASSERT_TRUE(FocusWindow(box));
            for (int press = 0; press < 20 && !run.WaitForExit(0.5); ++press) {
                std::system("xdotool key Return");  // again, should the box not yet listen
            }
        }
        ASSERT_TRUE(run.WaitForExit(signal ? 1 : 20)) << "signal " << signal;
        EXPECT_NE(run.exitStatus, 0);
        bool boxGone = false;
        for (int wait = 0; wait < 40 && !boxGone; ++wait, Sleep(50)) {
            boxGone = WaitForWindow("Kelo Message", 0).empty();
        }
        EXPECT_TRUE(boxGone) << "the box goes with the program";
        EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=1234\n");
        EXPECT_TRUE(LogHas("Cannot load icon!"));
    }
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

// Menu, chase and pause as a person sees them, kept beside the test results; a stall of
// seconds is survived. The renderer's worker threads are slowed after every broadcast, which
// widens a race in its fence signalling: a frame flushed without a wait lets the game free a
// fence whose mutex a worker still holds, and a later allocation then aborts. None is freed
// while held but by the swap, where the driver itself rarely meets the race.
class PlayTest : public GameRunTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(PlayTest, FromTheMenuThroughAChaseWithPauseAndAStall) {
    auto [width, height] = GetParam();
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    const char* asan = std::getenv("ASAN_OPTIONS");  // the probe comes before the sanitizer
    std::string window = OpenWindow(
        {"VIDEO_WIDTH=" + std::to_string(width), "VIDEO_HEIGHT=" + std::to_string(height)}, game,
        {{"LD_PRELOAD", FENCE_RACE_PROBE},
         {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"}});
    ASSERT_FALSE(window.empty());
    Sleep(3000);  // the title words settle
    Screenshot menu = TakeScreenshot(window);
    ASSERT_EQ(menu.width, width);
    KeepScreenshot(menu, "menu_" + size);
    const int sampled = width * height / 16;  // every fourth pixel of every fourth row
    EXPECT_GT(SeaPixels(menu), sampled / 4) << "the menu runs over a live ocean";

    EXPECT_TRUE(HoldKeyUntilLogged("Return", "Game started"));
    std::system(
        "xdotool keydown space sleep 0.4 keyup space sleep 0.2 keydown space sleep 0.3 "
        "keyup space");
    Sleep(800);  // the circle has opened
    Screenshot chase = TakeScreenshot(window);
    KeepScreenshot(chase, "chase_" + size);
    EXPECT_GT(SeaPixels(chase), sampled / 2) << "the chase shows the open sea";

    EXPECT_TRUE(HoldKeyUntilLogged("Pause", "Paused"));
    Sleep(1500);  // the banner glides in and settles
    Screenshot paused = TakeScreenshot(window);
    KeepScreenshot(paused, "paused_" + size);
    kill(game.pid, SIGSTOP);  // a stall of seconds, and the huge frame after it
    Sleep(2000);
    kill(game.pid, SIGCONT);
    Sleep(300);
    Screenshot stillPaused = TakeScreenshot(window);
    ASSERT_EQ(stillPaused.rgb.size(), paused.rgb.size());
    size_t changed = 0;
    for (size_t i = 0; i < paused.rgb.size(); i += 3) {
        changed +=
            paused.rgb[i] != stillPaused.rgb[i] || paused.rgb[i + 2] != stillPaused.rgb[i + 2];
    }
    // Only the propeller turns; a running ocean would scroll the whole picture.
    EXPECT_LT(changed, paused.rgb.size() / 75) << "the ocean stands still while paused";
    EXPECT_TRUE(HoldKeyUntilLogged("Pause", "Resumed"));
    EXPECT_EQ(LinesStartingWith("Paused"), 1) << "once per press, however long held";
    EXPECT_EQ(LinesStartingWith("Resumed"), 1);
    std::system("xdotool keydown space sleep 1.5 keyup space sleep 1");
    QuitWithEscape();
    int rates = LinesStartingWith("Log info: FPS: ");
    EXPECT_TRUE(rates >= 1 && rates < 10) << rates << " frame rates told, one every five seconds";
    EXPECT_TRUE(CapturedBoxes().empty());
    long slowed = -1, destroyedWhileHeld = -1, atSwap = -1;
    std::string errors = ReadTextFile(game.stderrPath);
    size_t report = errors.find("fence race probe: ");
    ASSERT_NE(report, std::string::npos) << errors;
    std::sscanf(errors.c_str() + report,
                "fence race probe: %ld broadcasts slowed, %ld mutexes destroyed while held, %ld of "
                "them at a swap",
                &slowed, &destroyedWhileHeld, &atSwap);
    EXPECT_GT(slowed, 0) << "the software renderer's threads drew nothing (not llvmpipe?)";
    EXPECT_EQ(destroyedWhileHeld - atSwap, 0)
        << "of " << slowed << " slowed broadcasts; the game's standard error:\n"
        << errors;
}

// Screenshots of both kept beside the test results, for a person to look at.
INSTANTIATE_TEST_SUITE_P(SmallAndFullHd, PlayTest,
                         ::testing::Values(std::pair{640, 480}, std::pair{1920, 1080}));

// Away from the game it pauses until P; F2, F3 and F11 switch once per press however long
// held, Alt+Enter switches too and starts no game, and the choices are kept for the next start.
TEST_F(GameRunTest, AwayPausesKeysSwitchAndTheChoicesAreKeptForTheNextStart) {
    std::string window = OpenWindow({"-VIDEO_VSYNC"});
    EXPECT_TRUE(HoldKeyUntilLogged("F2", "Sound effects off"));
    EXPECT_TRUE(HoldKeyUntilLogged("F3", "Music off"));
    EXPECT_TRUE(LogHas("Vertical sync off"));
    // Without a window manager X takes the focus away for a moment after each switch, and the
    // window has to be given it back. Alt+Enter is held: xdotool's chord is over in a moment.
    for (const char* key : {"F11", "alt+Return", "F11"}) {
        EXPECT_TRUE(key[0] == 'a' ? HoldKeyUntilLogged(key, "Full screen ")
                                  : Tap(key, "Full screen "))
            << key;
        Sleep(1000);
        FocusWindow(window);
    }
    EXPECT_EQ(LinesStartingWith("Full screen on"), 2);
    EXPECT_FALSE(LogHas("Game started")) << "Alt+Enter starts no game";
    EXPECT_TRUE(Tap("Return", "Game started"));
    Display* x = XOpenDisplay(nullptr);  // a window of this process takes the keyboard
    Window other = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 50, 50, 0, 0, 0);
    XStoreName(x, other, "elsewhere");
    XMapWindow(x, other);
    XFlush(x);
    ASSERT_TRUE(FocusWindow(WaitForWindow("elsewhere", 10)));
    EXPECT_TRUE(LoggedMoreThan("Paused", 0));
    ASSERT_TRUE(FocusWindow(window));
    XCloseDisplay(x);
    EXPECT_TRUE(Tap("p", "Resumed")) << "back, still paused until P";
    QuitWithEscape();
    EXPECT_EQ(LinesStartingWith("Sound effects "), 1) << "once per press, however long held";
    std::string saved = ReadTextFile("tobrin.cfg");
    for (const char* line : {"SOUND_EFFECTS=0", "SOUND_MUSIC=0", "VIDEO_FULLSCREEN=1"}) {
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in " << saved;
    }
    GameProcess next;
    OpenWindow({"+VIDEO_VSYNC"}, next);
    EXPECT_TRUE(HoldKeyUntilLogged("F2", "Sound effects on")) << "started off";
    EXPECT_TRUE(HoldKeyUntilLogged("F3", "Music on")) << "started off";
    EXPECT_FALSE(LogHas("Vertical sync off"));
    EXPECT_TRUE(HoldEscapeUntilExit(next));
}

// A game played with the keys to the chomp that beats the high score is on disk the moment it
// ends, and kept as the best game. R in the menu plays it through to the score it ended with;
// --watch plays it once more in full HD, uncapped, and exits on its own with the same score and
// the fish in the same place; a file that is no recording is refused with a failing status.
TEST_F(GameRunTest, TheBestGameIsKeptAndWatchedFromTheMenuAndTheCommandLine) {
    ASSERT_FALSE(OpenWindow().empty());
    std::string saved;
    for (int round = 0; round < 3 && !LogHas("Best game of "); ++round) {
        ASSERT_TRUE(HoldKeyUntilLogged("Return", "Game started"));
        int menus = LinesStartingWith("Menu: ");
        std::system(
            "xdotool keydown space sleep 0.3 keyup space sleep 0.5 keydown space sleep 0.2 "
            "keyup space sleep 0.2 keydown space");
        ASSERT_TRUE(LoggedMoreThan("Menu: ", menus, 60)) << "the big fish never caught the sub";
        saved = ReadTextFile("tobrin.cfg");  // before anything else can write it
        std::system("xdotool keyup space");
    }
    std::string over = LastLineStartingWith("Game over with ");
    long points = -1;
    ASSERT_EQ(std::sscanf(over.c_str(), "Game over with %ld points", &points), 1);
    ASSERT_TRUE(LogHas("Best game of " + std::to_string(points) + " points kept in best.replay"));
    const std::string best = "HIGH_SCORE=" + std::to_string(points) + "\n";
    EXPECT_EQ(saved.substr(0, best.size()), best);
    EXPECT_TRUE(LogHas("Menu: high score " + std::to_string(points) + ", last score " +
                       std::to_string(points)));
    Sleep(500);
    ASSERT_TRUE(HoldKeyUntilLogged("r", "Replay of a game of " + std::to_string(points)));
    ASSERT_TRUE(LoggedMoreThan("Replay ended", 0, 60));
    std::string ended = LastLineStartingWith("Replay ended");
    EXPECT_EQ(ended.substr(0, ended.find(',')),
              "Replay ended with " + std::to_string(points) + " points");
    ASSERT_TRUE(HoldKeyUntilLogged("r", "Replay of a game of "));
    ASSERT_TRUE(HoldKeyUntilLogged("Escape", "Replay left with "));
    Sleep(500);
    EXPECT_FALSE(game.WaitForExit(0)) << "the Escape that left the replay quit the game";
    QuitWithEscape();
    EXPECT_NE(ReadTextFile("tobrin.cfg").find(best), std::string::npos);
    std::filesystem::rename("best.replay", "sent.replay");  // as a friend would send it
    WriteTextFile("best.replay", "not the best game");

    GameProcess watch;
    ASSERT_TRUE(watch.Start(
        {"--watch", "sent.replay", "VIDEO_WIDTH=1920", "VIDEO_HEIGHT=1080", "-VIDEO_VSYNC"},
        {{"SDL_AUDIODRIVER", "dummy"}}));
    ASSERT_TRUE(watch.WaitForExit(90)) << "the replay never ended";
    EXPECT_EQ(watch.exitStatus, 0);
    EXPECT_EQ(LastLineStartingWith("Replay ended"), ended);
    EXPECT_NE(ReadTextFile("tobrin.cfg").find(best), std::string::npos);
    EXPECT_EQ(ReadTextFile("best.replay"), "not the best game") << "a replay keeps nothing";

    GameProcess refused;
    ASSERT_TRUE(refused.Start({"--watch", "tobrin.cfg"}, UNSEEN));
    ASSERT_TRUE(refused.WaitForExit(20));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(ReadTextFile(refused.stderrPath)
                  .find("recording tobrin.cfg is refused: not a recording of this game"),
              std::string::npos);
    EXPECT_TRUE(CapturedBoxes().empty()) << "a refused file stops no script with a box";
}

}  // namespace

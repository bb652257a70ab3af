// Hostile surroundings: special files, links, permissions, another copy of the game writing the
// same settings, absurd sizes, an unreachable display and signals. Nothing may be lost, hang or
// run unseen.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "engine/log.h"
#include "engine/settings.h"
#include "game/game_constants.h"
#include "game_process.h"
#include "test_support.h"

// After the test headers: Xlib's macros (None, Bool) would break them.
#include <X11/Xlib.h>

namespace fs = std::filesystem;

namespace {

const char* const CFG = "tobrin.cfg";
using Environment = std::map<std::string, std::string>;
const Environment OFFSCREEN = {
    {"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};

// Puts at the path a FIFO ("|"), a link ("-> target") or a file holding the text.
void Plant(const char* path, const std::string& what) {
    fs::remove(path);
    if (what == "|") {
        mkfifo(path, 0644);
    } else if (what.rfind("-> ", 0) == 0) {
        fs::create_symlink(what.substr(3), path);
    } else {
        WriteTextFile(path, what);
    }
}

class HostileInputTest : public InTempDir {
protected:
    Settings settings;
    long highScore = 0;
    Dator<long> highScoreDator{highScore};

    void SetUp() override {
        InTempDir::SetUp();
        settings.RegisterVariable(stringHighScore, &highScoreDator);
        settings.keepLarger.insert(stringHighScore);
    }
    bool LogHas(const std::string& start) {
        std::vector<std::string> lines = LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    }
    // The exit status of the work done in a child process, as the user nobody where we are root.
    int AsNobody(const std::function<bool()>& work) {
        pid_t child = fork();
        if (child == 0) {
            bool same = getuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
            _exit(same ? (work() ? 0 : 1) : 9);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Runs the real game to its first frame, writes `meanwhile` to its settings file as another
    // copy of the game would, and ends it with the signal.
    int PlayAndSignal(const std::vector<std::string>& arguments, int signal,
                      const char* meanwhile) {
        fs::remove("log.txt");  // the last run's first frame is not this one's
        GameProcess run;
        EXPECT_TRUE(run.Start(arguments, OFFSCREEN));
        for (int wait = 0; wait < 400 && !LogHas("First frame after"); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (meanwhile) {
            WriteTextFile("tobrin.cfg", meanwhile);
        }
        kill(run.pid, signal);
        return run.WaitForExit(20) ? run.exitStatus : -1;
    }
};

// The game's own high score is 7 at every write.
TEST_F(HostileInputTest, SettingsWriteKeepsTheBestAndNeverLosesAFileOrALink) {
    using T = fs::file_type;
    const struct {
        const char* path;  // where the hostile thing is planted
        const char* what;
        mode_t mode;  // given to it when not 0, and kept
        bool written;
        const char* file;  // when given, with the text it holds afterwards
        const char* text;
        T type;  // of tobrin.cfg afterwards
    } cases[] = {
        {CFG, "HIGH_SCORE=11\n", 0, true, CFG, "HIGH_SCORE=11\n", T::regular},
        {CFG, "HIGH_SCORE=2\n", 0, true, CFG, "HIGH_SCORE=7\n", T::regular},
        {CFG, "HIGH_SCORE=lots", 0, true, CFG, "HIGH_SCORE=7\n", T::regular},
        {CFG, "\xEF\xBB\xBFHIGH_SCORE= 40 \r\n", 0, true, CFG, "HIGH_SCORE=40\n", T::regular},
        {CFG, "HIGH_SCORE=50\nHIGH_SCORE=9", 0, true, CFG, "HIGH_SCORE=9\n", T::regular},
        {CFG, "", 0640, true, CFG, "HIGH_SCORE=7\n", T::regular},
        {CFG, "-> real.cfg", 0, true, "real.cfg", "HIGH_SCORE=7\n", T::symlink},
        {"tobrin.cfg.tmp", "-> victim", 0, true, "victim", "", T::regular},
        {CFG, "x", 0444, false, CFG, "x", T::regular},
        {CFG, "|", 0, false, nullptr, "", T::fifo},
        {CFG, "-> /dev/zero", 0, false, nullptr, "", T::symlink},
    };
    Plant("real.cfg", "HIGH_SCORE=1\n");
    highScore = 7;
    for (const auto& c : cases) {
        fs::remove("tobrin.cfg");
        Plant(c.path, c.what);
        if (c.mode) {
            chmod(c.path, c.mode);
        }
        EXPECT_EQ(settings.WriteFile("tobrin.cfg"), c.written) << c.what;
        EXPECT_EQ(c.file ? ReadTextFile(c.file) : "", c.text) << c.what;
        EXPECT_EQ(fs::symlink_status("tobrin.cfg").type(), c.type) << c.what;
        EXPECT_TRUE(!c.mode || fs::status(c.path).permissions() == fs::perms(c.mode)) << c.what;
        EXPECT_EQ(LogHas("Cannot write to settings file: tobrin.cfg"), !c.written) << c.what;
        Log::Get().Initalise();
    }
    EXPECT_EQ(highScore, 7) << "only the file takes the larger";
    for (const auto& entry : fs::directory_iterator(".")) {
        std::string name = entry.path().filename();
        EXPECT_TRUE(name.rfind("tobrin.cfg.", 0) != 0 || name == "tobrin.cfg.tmp") << name;
    }
}

TEST_F(HostileInputTest, UnreadableSettingsAreNeverOverwrittenAndAShutFolderIsWrittenInPlace) {
    chmod(".", 0777);
    Plant("tobrin.cfg", "HIGH_SCORE=99\n");
    chmod("tobrin.cfg", 0);
    EXPECT_EQ(AsNobody([this] {
                  settings.ParseFile("tobrin.cfg");
                  return settings.WriteFile("tobrin.cfg");
              }),
              1);
    chmod("tobrin.cfg", 0644);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=99\n");
    EXPECT_TRUE(LogHas("Settings file tobrin.cfg is left as it was: it could not be read"));

    fs::create_directory("shut");
    Plant("shut/tobrin.cfg", "HIGH_SCORE=1\nA_LONGER_OLD_LINE=1\n");
    chmod("shut/tobrin.cfg", 0666);
    chmod("shut", 0555);
    highScore = 5;
    EXPECT_EQ(AsNobody([this] { return settings.WriteFile("shut/tobrin.cfg"); }), 0);
    EXPECT_EQ(ReadTextFile("shut/tobrin.cfg"), "HIGH_SCORE=5\n");
    chmod("shut", 0755);
}

TEST_F(HostileInputTest, CopiesWritingAtOnceLeaveOneWholeFileWithTheBest) {
    std::vector<pid_t> copies;
    for (long best = 1; best <= 20; ++best) {
        copies.push_back(fork());
        if (copies.back() == 0) {
            highScore = best;
            _exit(settings.WriteFile("tobrin.cfg") ? 0 : 1);
        }
    }
    for (pid_t copy : copies) {
        int status = 0;
        waitpid(copy, &status, 0);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=20\n");
}

TEST_F(HostileInputTest, TheGameRunsPastHostileSettingsAndQuitsCleanlyOnSignals) {
    const struct {
        const char* planted;
        std::vector<std::string> arguments;
        int signal;
        const char* meanwhile;
        const char* saved;  // in tobrin.cfg afterwards; none: left as it was
    } cases[] = {
        {"|", {}, SIGTERM, nullptr, nullptr},
        {"-> /dev/urandom", {}, SIGINT, nullptr, nullptr},
        {"", {"HIGH_SCORE=5"}, SIGHUP, nullptr, "HIGH_SCORE=5\n"},
        {"HIGH_SCORE=2\n", {}, SIGTERM, "HIGH_SCORE=11\n", "HIGH_SCORE=11\n"},
        {"", {"VIDEO_WIDTH=2147483647", "VIDEO_HEIGHT=2147483647"}, SIGTERM, nullptr, "=640\n"},
    };
    CopyResources();
    for (const auto& c : cases) {
        Plant("tobrin.cfg", c.planted);
        fs::file_type before = fs::symlink_status("tobrin.cfg").type();
        EXPECT_EQ(PlayAndSignal(c.arguments, c.signal, c.meanwhile), 0) << c.planted;
        if (c.saved) {
            EXPECT_NE(ReadTextFile("tobrin.cfg").find(c.saved), std::string::npos) << c.planted;
        } else {
            EXPECT_EQ(fs::symlink_status("tobrin.cfg").type(), before) << c.planted;
        }
    }
    EXPECT_TRUE(LogHas("Setting variable <VIDEO_WIDTH:2147483647:0> refused"));  // the last run
}

TEST_F(HostileInputTest, FifoPicturesSoundsAndUnreachableDisplaysEndTheStartByName) {
    const struct {
        const char* fifo;
        const char* display;  // that cannot be reached, asked for instead of the offscreen driver
        const char* logged;
    } cases[] = {
        {"resources/images/wave.png", nullptr,
         "Warning: problem loading image 'resources/images/wave.png': not a regular file"},
        {"resources/audio/bite.wav", nullptr,
         "Sound: Cannot open sound file 'resources/audio/bite.wav': not a regular file"},
        {nullptr, ":77", "Cannot initialise SDL video subsystem!"},
        {nullptr, "garbage", "Cannot initialise SDL video subsystem!"},
    };
    for (const auto& c : cases) {
        fs::remove_all("resources");
        CopyResources();
        Environment environment = OFFSCREEN;
        if (c.fifo) {
            Plant(c.fifo, "|");
        } else {
            environment["DISPLAY"] = c.display, environment["SDL_VIDEODRIVER"] = "";
        }
        GameProcess run;
        ASSERT_TRUE(run.Start({}, environment));
        ASSERT_TRUE(run.WaitForExit(20)) << c.logged;
        EXPECT_NE(run.exitStatus, 0) << c.logged;
        EXPECT_TRUE(LogHas(c.logged)) << ReadTextFile("log.txt");
        EXPECT_FALSE(FileExists("tobrin.cfg")) << c.logged;
    }
}

TEST_F(HostileInputTest, QuitSignalTakesDownAFatalErrorBoxAndEndsWithFailure) {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "needs an X display";
    }
    // Xvfb resets, refusing connections for a moment, when its last client leaves.
    std::unique_ptr<Display, int (*)(Display*)> keepServer(XOpenDisplay(nullptr), XCloseDisplay);
    CopyResources();
    fs::remove("resources/images/tobrin_icon.png");
    Plant("tobrin.cfg", "HIGH_SCORE=1234\n");
    for (int signal : {SIGTERM, SIGINT}) {
        GameProcess run;
        ASSERT_TRUE(run.Start({"HIGH_SCORE=1"}, {{"SDL_AUDIODRIVER", "dummy"}}));
        ASSERT_FALSE(WaitForWindow("Kelo Message", 20).empty()) << "signal " << signal;
        kill(run.pid, signal);
        ASSERT_TRUE(run.WaitForExit(20)) << "signal " << signal;
        EXPECT_NE(run.exitStatus, 0);
        bool boxGone = false;
        for (int wait = 0; wait < 100 && !boxGone; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            boxGone = WaitForWindow("Kelo Message", 0).empty();
        }
        EXPECT_TRUE(boxGone) << "the box goes with the program";
        EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=1234\n");
    }
}

}  // namespace

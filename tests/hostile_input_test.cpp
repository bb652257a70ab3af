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
#include <thread>

#include "engine/settings.h"
#include "game/game_constants.h"
#include "game_process.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using Step = std::function<void()>;
const std::map<std::string, std::string> OFFSCREEN = {
    {"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};

class HostileInputTest : public InTempDir {
protected:
    Settings* settings = nullptr;
    long highScore = 0;
    Dator<long> highScoreDator{highScore};

    void SetUp() override {
        InTempDir::SetUp();
        settings = new Settings;
        settings->RegisterVariable(stringHighScore, &highScoreDator);
        settings->keepLarger.insert(stringHighScore);
    }
    void TearDown() override {
        delete settings;
        InTempDir::TearDown();
    }
    bool LogHas(const std::string& start) {
        std::vector<std::string> lines = LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    }
    // The exit status of what runs in a child process, as the user nobody where we are root.
    int InChild(const std::function<bool()>& work, bool asNobody = false) {
        pid_t child = fork();
        if (child == 0) {
            _exit(asNobody && getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0) ? 9
                  : work()                                                                ? 0
                                                                                          : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Runs the real game until its first frame, writes the settings file meanwhile when
    // given, and ends the game with the signal.
    int PlayAndSignal(const std::vector<std::string>& arguments, int signal,
                      const char* meanwhile) {
        fs::remove("log.txt");  // the last run's first frame is not this one's
        GameProcess run;
        EXPECT_TRUE(run.Start(arguments, OFFSCREEN));
        for (int wait = 0; wait < 400 && !LogHas("First frame after"); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(LogHas("First frame after")) << ReadTextFile("log.txt");
        if (meanwhile) {
            WriteTextFile("tobrin.cfg", meanwhile);
        }
        kill(run.pid, signal);
        return run.WaitForExit(20) ? run.exitStatus : -1;
    }
};

TEST_F(HostileInputTest, SettingsWriteKeepsTheLargerHighScoreOfItsOwnAndTheFile) {
    const struct {
        const char* onDisk;
        long own;
        const char* written;
    } cases[] = {{"HIGH_SCORE=11\n", 2, "HIGH_SCORE=11\n"},
                 {"HIGH_SCORE=2\n", 11, "HIGH_SCORE=11\n"},
                 {"HIGH_SCORE=lots\n", 3, "HIGH_SCORE=3\n"},
                 {"\xEF\xBB\xBFHIGH_SCORE= 40 \nHIGH_SCORE=12\r\n", 5, "HIGH_SCORE=12\n"},
                 {"", 4, "HIGH_SCORE=4\n"}};
    for (const auto& c : cases) {
        WriteTextFile("tobrin.cfg", c.onDisk);
        highScore = c.own;
        EXPECT_TRUE(settings->WriteFile("tobrin.cfg")) << c.onDisk;
        EXPECT_EQ(ReadTextFile("tobrin.cfg"), c.written) << c.onDisk;
        EXPECT_EQ(highScore, c.own) << "only the file takes the larger";
    }
}

TEST_F(HostileInputTest, SettingsWriteGoesThroughLinksAndLeavesWhatItMayNotWriteAlone) {
    using T = fs::file_type;
    const struct {
        const char* name;
        Step make;
        bool written;
        const char* file;  // and the text it holds afterwards
        const char* text;
        T type;  // of tobrin.cfg afterwards
    } cases[] = {
        {"a link", [] { fs::create_symlink("real.cfg", "tobrin.cfg"); }, true, "real.cfg",
         "HIGH_SCORE=7\n", T::symlink},
        {"a link where the old temporary went",
         [] { WriteTextFile("victim", "mine"), fs::create_symlink("victim", "tobrin.cfg.tmp"); },
         true, "victim", "mine", T::regular},
        {"a read-only file", [] { WriteTextFile("tobrin.cfg", "x"), chmod("tobrin.cfg", 0444); },
         false, "tobrin.cfg", "x", T::regular},
        {"a FIFO", [] { mkfifo("tobrin.cfg", 0644); }, false, nullptr, "", T::fifo},
        {"a link to /dev/zero", [] { fs::create_symlink("/dev/zero", "tobrin.cfg"); }, false,
         nullptr, "", T::symlink},
    };
    for (const auto& c : cases) {
        fs::remove("tobrin.cfg");
        c.make();
        highScore = 7;
        size_t logged = LogLines().size();
        EXPECT_EQ(settings->WriteFile("tobrin.cfg"), c.written) << c.name;
        EXPECT_EQ(c.file ? ReadTextFile(c.file) : "", c.text) << c.name;
        EXPECT_EQ(fs::symlink_status("tobrin.cfg").type(), c.type) << c.name;
        std::vector<std::string> lines = LogLines();
        EXPECT_EQ(lines.size() > logged ? lines.back() : "",
                  c.written ? "" : "Cannot write to settings file: tobrin.cfg")
            << c.name;
    }
    fs::remove("tobrin.cfg");
    WriteTextFile("tobrin.cfg", ""), chmod("tobrin.cfg", 0640);
    EXPECT_TRUE(settings->WriteFile("tobrin.cfg"));
    EXPECT_EQ(fs::status("tobrin.cfg").permissions(), fs::perms(0640)) << "its mode is kept";
    for (const auto& entry : fs::directory_iterator(".")) {
        std::string name = entry.path().filename();
        EXPECT_TRUE(name.rfind("tobrin.cfg.", 0) != 0 || name == "tobrin.cfg.tmp") << name;
    }
}

TEST_F(HostileInputTest, UnreadableSettingsAreNeverOverwrittenAndAShutFolderIsWrittenInPlace) {
    chmod(".", 0777);
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=99\n");
    chmod("tobrin.cfg", 0);
    auto readAndWrite = [this] {
        settings->ParseFile("tobrin.cfg");
        return settings->WriteFile("tobrin.cfg");
    };
    EXPECT_EQ(InChild(readAndWrite, true), 1);
    chmod("tobrin.cfg", 0644);
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=99\n");
    EXPECT_TRUE(LogHas("Settings file tobrin.cfg is left as it was: it could not be read"));

    fs::create_directory("shut");
    WriteTextFile("shut/tobrin.cfg", "HIGH_SCORE=1\nA_LONGER_OLD_LINE=1\n");
    chmod("shut/tobrin.cfg", 0666);
    chmod("shut", 0555);
    highScore = 5;
    EXPECT_EQ(InChild([this] { return settings->WriteFile("shut/tobrin.cfg"); }, true), 0);
    EXPECT_EQ(ReadTextFile("shut/tobrin.cfg"), "HIGH_SCORE=5\n");
    chmod("shut", 0755);
}

TEST_F(HostileInputTest, CopiesWritingAtOnceLeaveOneWholeFileWithTheBest) {
    std::vector<pid_t> copies;
    for (long best = 1; best <= 6; ++best) {
        copies.push_back(fork());
        if (copies.back() == 0) {
            highScore = best;
            bool all = true;
            for (int write = 0; write < 10; ++write) {
                all = settings->WriteFile("tobrin.cfg") && all;
            }
            _exit(all ? 0 : 1);
        }
    }
    for (pid_t copy : copies) {
        int status = 0;
        waitpid(copy, &status, 0);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(ReadTextFile("tobrin.cfg"), "HIGH_SCORE=6\n");
}

TEST_F(HostileInputTest, TheGameRunsPastHostileSettingsAndQuitsCleanlyOnSignals) {
    const struct {
        const char* name;
        Step make;
        std::vector<std::string> arguments;
        int signal;
        const char* meanwhile;  // another copy's file, written while the game runs
        const char* saved;      // a line of tobrin.cfg afterwards; none: left as it was
    } cases[] = {
        {"a FIFO", [] { mkfifo("tobrin.cfg", 0644); }, {}, SIGTERM, nullptr, nullptr},
        {"/dev/urandom",
         [] { fs::create_symlink("/dev/urandom", "tobrin.cfg"); },
         {},
         SIGINT,
         nullptr,
         nullptr},
        {"a closed terminal", [] {}, {"HIGH_SCORE=5"}, SIGHUP, nullptr, "HIGH_SCORE=5\n"},
        {"another copy's best",
         [] { WriteTextFile("tobrin.cfg", "HIGH_SCORE=2\n"); },
         {},
         SIGTERM,
         "HIGH_SCORE=11\n",
         "HIGH_SCORE=11\n"},
        {"huge sizes",
         [] {},
         {"VIDEO_WIDTH=2147483647", "VIDEO_HEIGHT=2147483647"},
         SIGTERM,
         nullptr,
         "\nVIDEO_HEIGHT=480\nVIDEO_WIDTH=640\n"},
    };
    CopyResources();
    for (const auto& c : cases) {
        fs::remove("tobrin.cfg");
        c.make();
        fs::file_type before = fs::symlink_status("tobrin.cfg").type();
        EXPECT_EQ(PlayAndSignal(c.arguments, c.signal, c.meanwhile), 0) << c.name;
        if (c.saved) {
            EXPECT_NE(ReadTextFile("tobrin.cfg").find(c.saved), std::string::npos) << c.name;
        } else {
            EXPECT_EQ(fs::symlink_status("tobrin.cfg").type(), before) << c.name;
        }
    }
    EXPECT_TRUE(LogHas("Setting variable <VIDEO_WIDTH:2147483647:0> refused"));  // the last run
}

TEST_F(HostileInputTest, FifoPicturesSoundsAndUnreachableDisplaysEndTheStartByName) {
    const struct {
        const char* fifo;
        std::map<std::string, std::string> environment;
        const char* logged;
    } cases[] = {
        {"resources/images/wave.png", OFFSCREEN,
         "Warning: problem loading image 'resources/images/wave.png': not a regular file"},
        {"resources/audio/bite.wav", OFFSCREEN,
         "Sound: Cannot open sound file 'resources/audio/bite.wav': not a regular file"},
        {nullptr,
         {{"DISPLAY", ":77"}, {"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "dummy"}},
         "Cannot initialise SDL video"},
        {nullptr,
         {{"DISPLAY", "garbage"}, {"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "dummy"}},
         "Cannot initialise SDL video"},
    };
    for (const auto& c : cases) {
        fs::remove_all("resources");
        CopyResources();
        if (c.fifo) {
            fs::remove(c.fifo), mkfifo(c.fifo, 0644);
        }
        GameProcess run;
        ASSERT_TRUE(run.Start({}, c.environment));
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
    CopyResources();
    fs::remove("resources/images/tobrin_icon.png");
    WriteTextFile("tobrin.cfg", "HIGH_SCORE=1234\n");
    for (int signal : {SIGTERM, SIGINT}) {
        GameProcess run;
        ASSERT_TRUE(run.Start({"HIGH_SCORE=1"}, {{"SDL_AUDIODRIVER", "dummy"}}));
        ASSERT_FALSE(WaitForWindow("Kelo Message", 20, 0).empty());
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
